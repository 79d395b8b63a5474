#include "tools/qncal/DayReport.h"

#include "calendar/Almanac.h"
#include "calendar/DateValue.h"
#include "calendar/LunarCore.h"
#include "calendar/LunarTexts.h"
#include "holidays/HolidayTexts.h"
#include "tools/qncal/DisplayWidth.h"

#include <array>
#include <charconv>
#include <utility>

namespace qncal {

namespace {

// The day-information object gives the lunar day and the leap flag as
// texts only; reading them back spares a second conversion of the date.
int LunarDayFromText(const std::string& text)
{
    static const std::array<std::string, 31> texts = [] {
        std::array<std::string, 31> all;
        for (int day = 1; day <= 30; ++day)
            all[static_cast<std::size_t>(day)] = GetLunarDayText(day);
        return all;
    }();
    for (int day = 1; day <= 30; ++day) {
        if (texts[static_cast<std::size_t>(day)] == text)
            return day;
    }
    return -1;  // no lunar date: the text is empty
}

bool IsLeapMonthText(const std::string& text) { return text.rfind("闰", 0) == 0; }

}  // namespace

void LookUpDay(DayInfo& info, int year, int month, int day, const qn::HolidayCalendar* holidays)
{
    info.year = year;
    info.month = month;
    info.day = day;
    info.cal.Compute(qn::EncodeDate(year, month, day));
    info.lunarDay = LunarDayFromText(info.cal.LunarDayText);
    info.isLeap = IsLeapMonthText(info.cal.LunarMonthText);
    info.statutory = holidays ? holidays->Look(year, month, day) : qn::HolidayStatus{};
    info.almanac = GetAlmanacText(year, month, day);
}

DayInfo LookUpDay(int year, int month, int day, const qn::HolidayCalendar* holidays)
{
    DayInfo info;
    LookUpDay(info, year, month, day, holidays);
    return info;
}

bool DayExists(int year, int month, int day) { return GetCalendarKind(year, month, day) != 0; }

qn::CivilDate NextDay(qn::CivilDate date)
{
    if (date.day < qn::DaysInGregorianMonth(date.year, date.month))
        return {date.year, date.month, date.day + 1};
    if (date.month < 12)
        return {date.year, date.month + 1, 1};
    return {date.year + 1, 1, 1};
}

namespace {

// Exactly `width` decimal digits of a value of years 1..9999, months, days.
void FillDigits(char* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// "YYYY-MM-DD" into ten chars.
void FillDate(char* out, int year, int month, int day)
{
    FillDigits(out, year, 4);
    out[4] = '-';
    FillDigits(out + 5, month, 2);
    out[7] = '-';
    FillDigits(out + 8, day, 2);
}

}  // namespace

void AppendDate(std::string& text, int year, int month, int day)
{
    char date[10];
    FillDate(date, year, month, day);
    text.append(date, sizeof date);
}

std::string FormatDate(int year, int month, int day)
{
    std::string text;
    AppendDate(text, year, month, day);
    return text;
}

std::string LunarDateText(const DayInfo& day)
{
    const TChnCal& c = day.cal;
    // A leap month's short text is "闰二"; said in full it is "闰二月".
    if (day.isLeap && c.LunarMonth >= 1 && c.LunarMonth <= 12)
        return "闰" + std::string(LunarMonthNames[static_cast<std::size_t>(c.LunarMonth - 1)]) + "月" + c.LunarDayText;
    return c.LunarMonthText + c.LunarDayText;
}

std::string LowerLineText(const TChnCal& cal)
{
    std::string text = cal.LunarDayText != "初一" ? cal.LunarDayText : cal.LunarMonthText;
    for (const std::string* overriding : {&cal.Holiday, &cal.SolarTerm, &cal.LunarHoliday}) {
        if (!overriding->empty())
            text = *overriding;
    }
    return text;
}

std::string InfoLine(const DayInfo& day)
{
    const std::string lunarDate = day.cal.LunarMonthText + day.cal.LunarDayText;
    if (day.year < 1949)
        return day.cal.EraName + " 农历" + lunarDate;
    return FormatDate(day.year, day.month, day.day) + " 农历" + lunarDate;
}

void WriteDayFields(std::ostream& out, const DayInfo& day)
{
    static const char* const WeekdayNames[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    const TChnCal& c = day.cal;
    const int weekday = qn::SundayFirstWeekday(qn::EncodeDate(day.year, day.month, day.day));
    const std::pair<const char*, std::string> fields[] = {
        {"公历日期", FormatDate(day.year, day.month, day.day)},
        {"星期", WeekdayNames[weekday - 1]},
        {"农历年", c.LunarYearText},
        {"农历月", std::to_string(c.LunarMonth)},
        {"农历日", std::to_string(day.lunarDay)},
        {"闰月", day.isLeap ? "是" : "否"},
        {"农历月名", c.LunarMonthText},
        {"农历日名", c.LunarDayText},
        {"节气", c.SolarTerm},
        {"公历节日", c.Holiday},
        {"农历节日", c.LunarHoliday},
        {"年干支", c.YearGanZhi},
        {"月干支", c.MonthGanZhi},
        {"日干支", c.DayGanZhi},
        {"生肖", c.Animal},
        {"星座", c.Constellation},
        {"纪年", c.EraName},
        {"法定", qn::HolidayFieldText(day.statutory)},
        {"节令", day.almanac},
    };
    std::string text;
    for (const auto& [label, value] : fields) {
        text += label;
        text += "：";
        text.append(static_cast<std::size_t>(8 - DisplayWidth(label)), ' ');
        text += value;
        text.erase(text.find_last_not_of(' ') + 1);
        text += '\n';
    }
    out << text;
}

namespace {

const TsvColumn Columns[] = {
    {"date", "公历日期 YYYY-MM-DD", [](LineSink& l, const DayInfo& d) { l.PutDate(d.year, d.month, d.day); }},
    {"LunarYear", "农历年", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.LunarYearText); }},
    {"LunarMonth", "农历月（1..12，闰月也是月份数字）",
     [](LineSink& l, const DayInfo& d) { l.PutNumber(d.cal.LunarMonth); }},
    {"LunarDay", "农历日（1..30）", [](LineSink& l, const DayInfo& d) { l.PutNumber(d.lunarDay); }},
    {"IsLeap", "是否闰月（1 是，0 否）", [](LineSink& l, const DayInfo& d) { l.Put(d.isLeap ? '1' : '0'); }},
    {"LunarMonthText", "农历月名（正月……腊月，闰月前加“闰”）",
     [](LineSink& l, const DayInfo& d) { l.Put(d.cal.LunarMonthText); }},
    {"LunarDayText", "农历日名（初一……三十）", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.LunarDayText); }},
    {"SolarTerm", "节气", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.SolarTerm); }},
    {"Holiday", "公历节日", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.Holiday); }},
    {"LunarHoliday", "农历节日", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.LunarHoliday); }},
    {"YearGanZhi", "年干支（以立春为界）", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.YearGanZhi); }},
    {"MonthGanZhi", "月干支（以节为界）", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.MonthGanZhi); }},
    {"DayGanZhi", "日干支", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.DayGanZhi); }},
    {"Animal", "生肖", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.Animal); }},
    {"Constellation", "星座", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.Constellation); }},
    {"EraName", "历史纪年（1949 年起为空）", [](LineSink& l, const DayInfo& d) { l.Put(d.cal.EraName); }},
    {"Statutory", "法定假日：“休 春节”（放假）或“班 春节”（调休上班）",
     [](LineSink& l, const DayInfo& d) { l.Put(qn::HolidayTsvText(d.statutory)); }},
    {"Almanac", "节令，多项以空格分隔，如“平安夜 一九第4天”", [](LineSink& l, const DayInfo& d) { l.Put(d.almanac); }},
};

}  // namespace

std::span<const TsvColumn> TsvColumns() { return Columns; }

void AppendTsvLine(std::string& text, const DayInfo& day)
{
    LineSink line;
    bool first = true;
    for (const TsvColumn& column : Columns) {
        if (!first)
            line.Put('\t');
        first = false;
        column.put(line, day);
    }
    line.Put('\n');
    line.AppendTo(text);
}

void LineSink::Spill(std::string_view text)
{
    if (!spilled_) {
        long_.assign(buffer_, cursor_);
        spilled_ = true;
    }
    long_ += text;
}

void LineSink::PutNumber(int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto n = static_cast<std::size_t>(result.ptr - digits);
    if (spilled_ || n > static_cast<std::size_t>(buffer_ + sizeof buffer_ - cursor_))
        return Spill(std::string_view(digits, n));
    for (std::size_t i = 0; i < n; ++i)
        *cursor_++ = digits[i];
}

void LineSink::PutDate(int year, int month, int day)
{
    char date[10];
    FillDate(date, year, month, day);
    Put(std::string_view(date, sizeof date));
}

void LineSink::AppendTo(std::string& text) const
{
    if (spilled_)
        text += long_;
    else
        text.append(buffer_, static_cast<std::size_t>(cursor_ - buffer_));
}

}  // namespace qncal
