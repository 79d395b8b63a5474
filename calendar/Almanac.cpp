#include "calendar/Almanac.h"

#include "calendar/DateValue.h"
#include "calendar/GanZhi.h"
#include "calendar/LunarCore.h"
#include "calendar/SolarTerms.h"
#include "calendar/YearMemo.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

namespace {

constexpr int kNone = INT_MIN;

// Term indexes as GetTermDate numbers them (0 = 小寒).
constexpr int kQingMing = 6;
constexpr int kMangZhong = 10;
constexpr int kXiaZhi = 11;
constexpr int kXiaoShu = 12;
constexpr int kLiQiu = 14;
constexpr int kDongZhi = 23;

constexpr int kStemBing = 2;     // 丙
constexpr int kStemGeng = 6;     // 庚
constexpr int kBranchWei = 7;    // 未
constexpr int kNineDays = 9;     // each 九
constexpr int kFuDays = 10;      // 初伏 and 末伏
constexpr int kSearchDays = 70;  // far more than any search below needs

struct LunarDay {
    int month;
    int day;
    std::string_view name;
};
// In the order they are listed; 寒食 comes after 龙抬头, 平安夜 last.
constexpr LunarDay kLunarDays[] = {
    {12, 23, "小年"}, {2, 2, "龙抬头"}, {3, 3, "上巳"}, {7, 15, "中元"}, {10, 15, "下元"},
};
constexpr std::size_t kLunarDayCount = std::size(kLunarDays);

struct YearAlmanac {
    int winterSolstice = kNone;  // day number of 冬至
    std::array<int, 3> fuStart{kNone, kNone, kNone};
    int plumIn = kNone;   // 入梅
    int plumOut = kNone;  // 出梅
    // The days of each of kLunarDays. Usually one; two where the calendar
    // shows the same lunar date twice in a year.
    std::array<std::array<int, 2>, kLunarDayCount> lunarDays{};
    int coldFood = kNone;      // 寒食
    int christmasEve = kNone;  // 平安夜
};

int DayNumber(int year, int month, int day) { return static_cast<int>(qn::DaysFromCivil(year, month, day)); }

int DayGanZhi(int dayNumber)
{
    const qn::CivilDate c = qn::CivilFromDays(dayNumber);
    return GetDayGanZhi(c.year, c.month, c.day);
}

int TermDay(int year, int index)
{
    int month = 0, day = 0;
    if (!GetTermDate(year, index, month, day) || !qn::IsValidDate(year, month, day))
        return kNone;
    return DayNumber(year, month, day);
}

// The first day from `from` on (or after it) whose stem, or branch, matches.
template <class Matches>
int FirstDay(int from, bool includeFrom, Matches matches)
{
    if (from == kNone)
        return kNone;
    for (int day = includeFrom ? from : from + 1; day < from + kSearchDays; ++day) {
        if (matches(DayGanZhi(day)))
            return day;
    }
    return kNone;
}

bool IsStem(int ganZhi, int stem) { return ganZhi % 10 == stem; }

// The n-th 庚 day from `from` on, counting `from` itself.
int NthGengDay(int from, int n)
{
    int day = from;
    for (int found = 0; day != kNone; ++day) {
        day = FirstDay(day, true, [](int gz) { return IsStem(gz, kStemGeng); });
        if (day != kNone && ++found == n)
            return day;
    }
    return kNone;
}

// How many days of the walk at least pass, from a day of lunar month `month`
// day `day`, before one of kLunarDays can come: within the month the
// difference of the days, in a later month (29 - day) + N for its day N, as no
// month is shorter than 29 days and a leap month only adds days. One day less
// than that, because before 1582 the walk steps over a Julian 29 February
// where a Gregorian year has none, and the lunar day then moves on by two.
int DaysToNextLunarDay(int month, int day, bool leap)
{
    int fewest = INT_MAX;
    for (const LunarDay& target : kLunarDays) {
        if (!leap && target.month == month && target.day > day)
            fewest = std::min(fewest, target.day - day);
        else
            fewest = std::min(fewest, 29 - day + target.day);
    }
    return std::max(fewest - 1, 1);
}

YearAlmanac ComputeYear(int year)
{
    YearAlmanac a;
    a.winterSolstice = TermDay(year, kDongZhi);

    const int summerSolstice = TermDay(year, kXiaZhi);
    if (summerSolstice != kNone) {
        a.fuStart[0] = NthGengDay(summerSolstice, 3);
        a.fuStart[1] = NthGengDay(summerSolstice, 4);
    }
    a.fuStart[2] = FirstDay(TermDay(year, kLiQiu), true, [](int gz) { return IsStem(gz, kStemGeng); });
    a.plumIn = FirstDay(TermDay(year, kMangZhong), false, [](int gz) { return IsStem(gz, kStemBing); });
    a.plumOut = FirstDay(TermDay(year, kXiaoShu), false, [](int gz) { return gz % 12 == kBranchWei; });

    // The lunar days as the calendar shows them: days of the year are
    // converted, not each lunar day back, so the two can never disagree.
    // Days that cannot be one of them are stepped over.
    for (auto& days : a.lunarDays)
        days = {kNone, kNone};
    const int firstDay = DayNumber(year, 1, 1), lastDay = DayNumber(year, 12, 31);
    for (int day = firstDay; day <= lastDay;) {
        const qn::CivilDate c = qn::CivilFromDays(day);
        int lunarYear = 0, lunarMonth = 0, lunarDay = 0;
        bool leap = false;
        if (!SolarToLunar(c.year, c.month, c.day, lunarYear, lunarMonth, lunarDay, leap)) {
            ++day;
            continue;
        }
        for (std::size_t i = 0; i < kLunarDayCount && !leap; ++i) {
            if (kLunarDays[i].month != lunarMonth || kLunarDays[i].day != lunarDay)
                continue;
            auto& days = a.lunarDays[i];
            (days[0] == kNone ? days[0] : days[1]) = day;
        }
        day += DaysToNextLunarDay(lunarMonth, lunarDay, leap);
    }
    const int qingMing = TermDay(year, kQingMing);
    a.coldFood = qingMing == kNone ? kNone : qingMing - 1;
    a.christmasEve = DayNumber(year, 12, 24);
    return a;
}

constinit YearMemo<YearAlmanac, kFirstAlmanacYear, kLastAlmanacYear> almanacMemo;

YearAlmanac YearOf(int year)
{
    if (year < kFirstAlmanacYear || year > kLastAlmanacYear)
        return {};
    return almanacMemo.Get(year, ComputeYear);
}

constexpr std::string_view kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::string_view kFuNames[] = {"初伏", "中伏", "末伏"};

// "一九" on the first day of a period, "一九第3天" on the others.
std::string PeriodText(std::string_view name, int dayIndex)
{
    std::string text(name);
    if (dayIndex > 0)
        text += "第" + std::to_string(dayIndex + 1) + "天";
    return text;
}

std::string NineText(int winterSolstice, int day)
{
    if (winterSolstice == kNone || day < winterSolstice || day >= winterSolstice + 9 * kNineDays)
        return {};
    const int offset = day - winterSolstice;
    return PeriodText(std::string(kNumerals[offset / kNineDays]) + "九", offset % kNineDays);
}

std::string FuText(const YearAlmanac& a, int day)
{
    for (std::size_t i = 0; i < 3; ++i) {
        if (a.fuStart[i] == kNone)
            continue;
        const int end = i < 2 && a.fuStart[i + 1] != kNone ? a.fuStart[i + 1] : a.fuStart[i] + kFuDays;
        if (day >= a.fuStart[i] && day < end)
            return PeriodText(kFuNames[i], day - a.fuStart[i]);
    }
    return {};
}

// Hands each text of the day to `take`, in the order they are listed.
template <class Take>
void VisitAlmanacTexts(int Year, int Month, int Day, Take&& take)
{
    if (Year < kFirstAlmanacYear || Year > kLastAlmanacYear || !qn::IsValidDate(Year, Month, Day))
        return;
    const YearAlmanac a = YearOf(Year);
    const int day = DayNumber(Year, Month, Day);
    for (std::size_t i = 0; i < kLunarDayCount; ++i) {
        if (i == 2 && day == a.coldFood)
            take(std::string("寒食"));
        if (a.lunarDays[i][0] == day || a.lunarDays[i][1] == day)
            take(std::string(kLunarDays[i].name));
    }
    if (day == a.christmasEve)
        take(std::string("平安夜"));
    if (day == a.plumIn)
        take(std::string("入梅"));
    if (day == a.plumOut)
        take(std::string("出梅"));
    std::string period = NineText(a.winterSolstice, day);
    if (period.empty() && Year > kFirstAlmanacYear)
        period = NineText(YearOf(Year - 1).winterSolstice, day);
    if (period.empty())
        period = FuText(a, day);
    if (!period.empty())
        take(std::move(period));
}

}  // namespace

std::vector<std::string> GetAlmanacTexts(int Year, int Month, int Day)
{
    std::vector<std::string> texts;
    VisitAlmanacTexts(Year, Month, Day, [&](std::string text) { texts.push_back(std::move(text)); });
    return texts;
}

std::string GetAlmanacText(int Year, int Month, int Day)
{
    std::string joined;
    VisitAlmanacTexts(Year, Month, Day, [&](const std::string& text) {
        if (!joined.empty())
            joined += ' ';
        joined += text;
    });
    return joined;
}
