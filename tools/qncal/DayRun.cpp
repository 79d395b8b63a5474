#include "tools/qncal/DayRun.h"

#include "calendar/Almanac.h"
#include "calendar/DateValue.h"
#include "calendar/EraNames.h"
#include "calendar/Festivals.h"
#include "calendar/GanZhi.h"
#include "calendar/LunarCore.h"
#include "calendar/LunarTexts.h"
#include "calendar/SolarTerms.h"

#include <cmath>

namespace qncal {

namespace {

// Values of f for the days 1..days of a month in which f changes at most
// once. Found with a few calls by halving; should f turn out to change more
// often, every day is asked.
template <typename F>
void FillSteps(std::array<int, 32>& out, int days, F f)
{
    const int first = f(1), last = f(days);
    int lo = 1, hi = days;  // f(lo) == first, f(hi) == last
    if (first == last) {
        lo = days;
    } else {
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            const int value = f(mid);
            if (value == first) {
                lo = mid;
            } else if (value == last) {
                hi = mid;
            } else {
                for (int d = 1; d <= days; ++d)
                    out[static_cast<std::size_t>(d)] = f(d);
                return;
            }
        }
    }
    for (int d = 1; d <= days; ++d)
        out[static_cast<std::size_t>(d)] = d <= lo ? first : last;
}

const std::array<std::string, 31>& LunarDayTexts()
{
    static const std::array<std::string, 31> texts = [] {
        std::array<std::string, 31> all;
        for (int day = 1; day <= 30; ++day)
            all[static_cast<std::size_t>(day)] = GetLunarDayText(day);
        return all;
    }();
    return texts;
}

}  // namespace

DayRun::DayRun(const qn::HolidayCalendar* holidays, bool withAlmanac)
    : holidayTable_(holidays), withAlmanac_(withAlmanac)
{
    if (holidayTable_ == nullptr)
        return;
    const auto mark = [this](int year) {
        if (year < 0)
            return;
        if (static_cast<std::size_t>(year) >= holidayYears_.size())
            holidayYears_.resize(static_cast<std::size_t>(year) + 1, false);
        holidayYears_[static_cast<std::size_t>(year)] = true;
    };
    // A day the table makes 休 by itself (a weekend inside a holiday) lies
    // between two of its days, so in the year of one of them.
    for (const qn::HolidayRow& row : holidayTable_->Rows())
        mark(row.date.year);
    for (const int year : holidayTable_->NoticeYears())
        mark(year);
}

void DayRun::PrepareMonth(int year, int month)
{
    preparedYear_ = year;
    preparedMonth_ = month;
    holidayMonth_ = year >= 0 && static_cast<std::size_t>(year) < holidayYears_.size()
        && holidayYears_[static_cast<std::size_t>(year)];
    const int days = qn::DaysInGregorianMonth(year, month);
    // October 1582 has the ten days of the reform in it: ask every day.
    const bool reformMonth = year == 1582 && month == 10;
    const auto yearGanZhi = [&](int d) { return GetDateYearGanZhi(year, month, d); };
    const auto monthGanZhi = [&](int d) { return GetMonthGanZhi(year, month, d); };
    const auto constellation = [&](int d) { return GetConstellation(month, d); };
    if (reformMonth) {
        for (int d = 1; d <= days; ++d) {
            if (DayExists(year, month, d)) {
                const std::size_t slot = static_cast<std::size_t>(d);
                yearGanZhi_[slot] = yearGanZhi(d);
                monthGanZhi_[slot] = monthGanZhi(d);
                dayGanZhi_[slot] = GetDayGanZhi(year, month, d);
            }
        }
    } else {
        FillSteps(yearGanZhi_, days, yearGanZhi);
        FillSteps(monthGanZhi_, days, monthGanZhi);
        // The day names follow one another, one a day.
        const int first = GetDayGanZhi(year, month, 1);
        for (int d = 1; d <= days; ++d)
            dayGanZhi_[static_cast<std::size_t>(d)] = (first + d - 1) % 60;
    }
    FillSteps(constellation_, days, constellation);

    const double firstDate = qn::EncodeDate(year, month, 1);
    const auto kind = static_cast<std::size_t>(month == 2 && days == 29 ? 12 : month - 1);
    const auto weekday = static_cast<std::size_t>(qn::IsoWeekday(firstDate) - 1);
    auto& holidays = holidays_[kind][weekday];
    if (!holidaysKnown_[kind][weekday]) {
        for (int d = 1; d <= days; ++d)
            holidays[static_cast<std::size_t>(d)] = GetHolidayText(d, firstDate + d - 1);
        holidaysKnown_[kind][weekday] = true;
    }
    holiday_ = &holidays;
    // A term is named on the day it falls on, whatever the month: in Julian
    // years a term can fall outside the month it belongs to, so every term
    // of the year (and the next year's 小寒, term 25) is placed by its day of
    // the year. October 1582 has the reform's gap in it: ask day by day.
    solarTerm_.fill({});
    if (reformMonth) {
        for (int d = 1; d <= days; ++d) {
            if (DayExists(year, month, d))
                solarTerm_[static_cast<std::size_t>(d)] = GetSolarTermText(year, month, d);
        }
    } else {
        const int firstDayOfYear = GetRealDayOfYear(year, month, 1);
        for (int n = 1; n <= 25; ++n) {
            const int d = static_cast<int>(std::floor(GetTermDayOfYear(year, n))) - firstDayOfYear + 1;
            if (d >= 1 && d <= days && solarTerm_[static_cast<std::size_t>(d)].empty())
                solarTerm_[static_cast<std::size_t>(d)] = TermNames[static_cast<std::size_t>((n + 21) % 24)];
        }
    }
}

void DayRun::LookUp(DayInfo& info, int year, int month, int day)
{
    if (year != preparedYear_ || month != preparedMonth_)
        PrepareMonth(year, month);
    if (&info != lastInfo_) {
        lastInfo_ = &info;
        eraYear_ = lunarYear_ = lunarMonthKey_ = INT_MIN;
        yearGanZhiShown_ = monthGanZhiShown_ = -1;
        for (std::string_view& text : shown_)
            text = std::string_view("\0", 1);  // matches no text of the engine
    }
    TChnCal& c = info.cal;
    const double date = qn::EncodeDate(year, month, day);
    info.year = year;
    info.month = month;
    info.day = day;
    c.Date = date;

    int lunarYear = 0, lunarMonth = 0, lunarDay = 0;
    bool leap = false;
    SolarToLunar(year, month, day, lunarYear, lunarMonth, lunarDay, leap);
    info.lunarDay = lunarDay;
    info.isLeap = leap;
    if (lunarYear != lunarYear_) {
        lunarYear_ = lunarYear;
        c.LunarYear = lunarYear;
        c.LunarYearText = std::to_string(lunarYear);
        c.Animal = GetAnimalText(GetAnimal(lunarYear));
    }
    if (year != eraYear_) {
        eraYear_ = year;
        c.EraName = GetEraText(year);
    }
    const int lunarMonthKey = leap ? -lunarMonth : lunarMonth;
    if (lunarMonthKey != lunarMonthKey_) {
        lunarMonthKey_ = lunarMonthKey;
        c.LunarMonth = lunarMonth;
        c.LunarMonthText = GetLunarMonthText(lunarMonth, leap);
    }
    const std::size_t slot = static_cast<std::size_t>(day);
    if (yearGanZhi_[slot] != yearGanZhiShown_) {
        yearGanZhiShown_ = yearGanZhi_[slot];
        c.YearGanZhi = GetGanZhiText(yearGanZhiShown_);
    }
    if (monthGanZhi_[slot] != monthGanZhiShown_) {
        monthGanZhiShown_ = monthGanZhi_[slot];
        c.MonthGanZhi = GetGanZhiText(monthGanZhiShown_);
    }
    const std::string_view lunarDayText =
        lunarDay >= 1 && lunarDay <= 30 ? LunarDayTexts()[static_cast<std::size_t>(lunarDay)] : std::string_view();
    Show(c.LunarDayText, shown_[0], lunarDayText);
    Show(c.DayGanZhi, shown_[1], GetGanZhiText(dayGanZhi_[slot]));
    Show(c.Constellation, shown_[2], GetConstellationText(constellation_[slot]));
    Show(c.Holiday, shown_[3], (*holiday_)[slot]);
    Show(c.LunarHoliday, shown_[4], GetLunarHolidayText(lunarMonth, lunarDay, date));
    Show(c.SolarTerm, shown_[5], solarTerm_[slot]);
    if (holidayMonth_)
        info.statutory = holidayTable_->Look(year, month, day);
    else if (info.statutory.kind != qn::HolidayKind::Unknown)
        info.statutory = {};
    if (withAlmanac_)
        info.almanac = GetAlmanacText(year, month, day);
}

void DayRun::Show(std::string& field, std::string_view& shown, std::string_view text)
{
    // The texts come from the engine's constant tables, so the same place
    // means the same text, and most days the field already holds it.
    if (text.data() == shown.data() && text.size() == shown.size())
        return;
    field = text;
    shown = text;
}

}  // namespace qncal
