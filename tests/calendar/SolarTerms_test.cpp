#include "calendar/DateValue.h"
#include "calendar/GanZhi.h"
#include "calendar/SolarTerms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(Ymd d) { return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day); }

TEST(SolarTerms, TermDatesOf2024)
{
    const std::pair<int, int> expected[24] = {
        {1, 6}, {1, 20}, {2, 4}, {2, 19}, {3, 5}, {3, 20}, {4, 4},  {4, 19},  {5, 5},  {5, 20},  {6, 5},  {6, 21},
        {7, 6}, {7, 22}, {8, 7}, {8, 22}, {9, 7}, {9, 22}, {10, 8}, {10, 23}, {11, 7}, {11, 22}, {12, 6}, {12, 21},
    };
    for (int i = 0; i < 24; ++i) {
        int month = 0, day = 0;
        ASSERT_TRUE(GetTermDate(2024, i, month, day)) << i;
        EXPECT_EQ(month, expected[i].first) << i;
        EXPECT_EQ(day, expected[i].second) << i;
    }
    int month = 77, day = 77;
    EXPECT_FALSE(GetTermDate(2024, 24, month, day));
    EXPECT_FALSE(GetTermDate(2024, -1, month, day));
    EXPECT_EQ(month, 77);
    EXPECT_EQ(day, 77);
}

TEST(SolarTerms, FormulaValues)
{
    EXPECT_NEAR(GetTermDayOfYear(2024, 3), 35.684, 0.001);  // 2024-02-04 16:25
    EXPECT_NEAR(GetTermDayOfYear(2024, 25), 371.44, 0.01);
    EXPECT_EQ(GetTermName(0), "立春");
    EXPECT_EQ(GetTermName(23), "大寒");
    EXPECT_EQ(GetTermName(24), "");
    EXPECT_EQ(TermNames[(3 + 21) % 24], "立春");
    EXPECT_EQ(TermNames[(1 + 21) % 24], "小寒");
    EXPECT_EQ(TermNames[(24 + 21) % 24], "冬至");
}

TEST(SolarTerms, TermTextOfADate)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2024, 2, 4}, "立春"},   {{2024, 2, 5}, ""},     {{2024, 1, 6}, "小寒"},  {{2023, 1, 5}, "小寒"},
        {{2024, 12, 21}, "冬至"}, {{2025, 2, 3}, "立春"}, {{2024, 6, 21}, "夏至"}, {{2024, 9, 22}, "秋分"},
    };
    for (const auto& [d, name] : cases)
        EXPECT_EQ(GetSolarTermText(qn::EncodeDate(d.year, d.month, d.day)), name) << Text(d);
}

// A term falling on the last day of a month stays on that day (walking the
// fraction of the day through the months would make it day 0 of the next).
// Term days count the days the year really had, so 1582 has 355.
TEST(SolarTerms, TermDateIsTheDayOfYearOfTheTerm)
{
    for (int year = -849; year <= 2100; ++year) {
        const int daysInYear = GetRealDayOfYear(year, 12, 31);
        for (int i = 0; i < 24; ++i) {
            const int dayOfYear = static_cast<int>(std::floor(GetTermDayOfYear(year, i + 1)));
            if (dayOfYear < 1 || dayOfYear > daysInYear)
                continue;
            int month = 0, day = 0;
            ASSERT_TRUE(GetTermDate(year, i, month, day));
            ASSERT_GE(day, 1) << year << " " << i;
            ASSERT_LE(day, GetMonthDays(year, month)) << year << " " << i;
            ASSERT_EQ(GetRealDayOfYear(year, month, day), dayOfYear) << year << " " << i;
        }
    }
}

// Terms that the formula puts a few minutes on the wrong side of midnight are
// moved to the day of the official calendar; the day before or after is free.
TEST(SolarTerms, CorrectedTermsFallOnTheOfficialDay)
{
    struct Case {
        Ymd day;
        const char* name;
        int shift;  // where the formula alone would put it, relative to day
    };
    const Case cases[] = {
        {{1911, 5, 7}, "立夏", -1},  {{1912, 10, 9}, "寒露", -1}, {{1923, 2, 19}, "雨水", +1},
        {{1979, 1, 20}, "大寒", +1}, {{2016, 7, 7}, "小暑", -1},  {{2020, 12, 7}, "大雪", -1},
        {{2037, 9, 23}, "秋分", -1}, {{2040, 10, 8}, "寒露", -1}, {{2042, 7, 23}, "大暑", -1},
        {{2051, 3, 20}, "春分", +1}, {{2059, 2, 19}, "雨水", -1}, {{2083, 2, 3}, "立春", +1},
        {{2084, 3, 19}, "春分", +1}, {{2085, 1, 4}, "小寒", +1},  {{2097, 5, 5}, "立夏", -1},
    };
    for (const auto& c : cases) {
        const double date = qn::EncodeDate(c.day.year, c.day.month, c.day.day);
        EXPECT_EQ(GetSolarTermText(date), c.name) << Text(c.day);
        EXPECT_EQ(GetSolarTermText(date + c.shift), "") << Text(c.day);
    }
    // 2083's 立春 opens the year 癸卯 on the corrected day.
    EXPECT_EQ(GetGanZhiText(GetDateYearGanZhi(2083, 2, 3)), "癸卯");
    // Term 25 of 2084 is 2085's 小寒 and carries its correction.
    const int daysOf2084 = 366;
    EXPECT_EQ(std::floor(GetTermDayOfYear(2084, 25)) - daysOf2084, std::floor(GetTermDayOfYear(2085, 1)));
    int sy = 0, sm = 0;
    GetSolarMonth(2084, 12, 31, sy, sm);
    EXPECT_EQ(sm, 11);
}

// The dates a term falls on, day by day through a year, as "MM-DD name".
std::vector<std::string> TermDaysOf(int year)
{
    std::vector<std::string> days;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= GetMonthDays(year, month); ++day) {
            const std::string_view name = GetSolarTermText(year, month, day);
            if (name.empty())
                continue;
            char text[32];
            std::snprintf(text, sizeof text, "%02d-%02d ", month, day);
            days.push_back(text + std::string(name));
        }
    }
    return days;
}

// In the Julian centuries the terms drift out of the months they fall in
// today; each is named on its own day all the same. In 1500 every 节 falls
// in the month before its present one, and the year's 小寒 in the December
// before, while the next year's falls in this December.
TEST(SolarTerms, JulianYearsNameEveryTermOnItsDay)
{
    const std::vector<std::string> expected = {
        "01-11 大寒", "01-26 立春", "02-10 雨水", "02-25 惊蛰", "03-11 春分", "03-26 清明", "04-11 谷雨", "04-26 立夏",
        "05-12 小满", "05-27 芒种", "06-12 夏至", "06-28 小暑", "07-14 大暑", "07-29 立秋", "08-14 处暑", "08-29 白露",
        "09-14 秋分", "09-29 寒露", "10-14 霜降", "10-29 立冬", "11-13 小雪", "11-27 大雪", "12-12 冬至", "12-27 小寒",
    };
    EXPECT_EQ(TermDaysOf(1500), expected);

    // The month name turns with the term that is now shown: 1580's 立春 on
    // 1580-01-25 opens 戊寅 and the year 庚辰.
    EXPECT_EQ(GetSolarTermText(1580, 1, 25), "立春");
    EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(1580, 1, 24)), "丁丑");
    EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(1580, 1, 25)), "戊寅");
    EXPECT_EQ(GetGanZhiText(GetDateYearGanZhi(1580, 1, 25)), "庚辰");

    // 836 holds two 小寒, on its first and its last day; 837 none, its own
    // falling on day 0 of January.
    EXPECT_EQ(GetSolarTermText(836, 1, 1), "小寒");
    EXPECT_EQ(GetSolarTermText(836, 12, 31), "小寒");
    EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(836, 12, 30)), "庚子");
    EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(836, 12, 31)), "辛丑");
    int month = 0, day = 0;
    ASSERT_TRUE(GetTermDate(837, 0, month, day));
    EXPECT_EQ(month, 1);
    EXPECT_EQ(day, 0);
    const std::vector<std::string> days837 = TermDaysOf(837);
    EXPECT_EQ(days837.size(), 23u);
    EXPECT_EQ(std::count_if(days837.begin(), days837.end(), [](const std::string& d) { return d.ends_with("小寒"); }),
              0);
}

// October 1582 had 21 days. The terms and month names after the switch fall on
// their Gregorian days, not ten days early; the dates of the gap name nothing.
TEST(SolarTerms, Autumn1582FallsOnItsGregorianDays)
{
    struct Case {
        Ymd day;
        const char* term;
        const char* monthName;  // from this day on
        const char* monthBefore;
    };
    const Case cases[] = {
        {{1582, 9, 13}, "秋分", "己酉", "己酉"},  {{1582, 9, 29}, "寒露", "庚戌", "己酉"},
        {{1582, 10, 24}, "霜降", "庚戌", "庚戌"}, {{1582, 11, 8}, "立冬", "辛亥", "庚戌"},
        {{1582, 11, 22}, "小雪", "辛亥", "辛亥"}, {{1582, 12, 7}, "大雪", "壬子", "辛亥"},
        {{1582, 12, 22}, "冬至", "壬子", "壬子"}, {{1583, 1, 6}, "小寒", "癸丑", "壬子"},
    };
    for (const auto& c : cases) {
        const double date = qn::EncodeDate(c.day.year, c.day.month, c.day.day);
        EXPECT_EQ(GetSolarTermText(date), c.term) << Text(c.day);
        EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(c.day.year, c.day.month, c.day.day)), c.monthName) << Text(c.day);
        const qn::CivilDate before = qn::DecodeDate(date - 1);
        EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(before.year, before.month, before.day)), c.monthBefore) << Text(c.day);
    }
    const std::pair<int, Ymd> termDates[] = {
        {17, {1582, 9, 13}},  {18, {1582, 9, 29}}, {19, {1582, 10, 24}}, {20, {1582, 11, 8}},
        {21, {1582, 11, 22}}, {22, {1582, 12, 7}}, {23, {1582, 12, 22}},
    };
    for (const auto& [index, d] : termDates) {
        int month = 0, day = 0;
        ASSERT_TRUE(GetTermDate(1582, index, month, day));
        EXPECT_EQ(month, d.month) << index;
        EXPECT_EQ(day, d.day) << index;
    }
    // Where the ten-day-early walk put 小雪 and 冬至.
    EXPECT_EQ(GetSolarTermText(1582, 11, 12), "");
    EXPECT_EQ(GetSolarTermText(1582, 12, 12), "");
    for (int day = 5; day <= 14; ++day) {
        EXPECT_EQ(GetSolarTermText(1582, 10, day), "") << day;
        EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(1582, 10, day)), "庚戌") << day;
    }
    // The days of 1582 as they were kept.
    EXPECT_EQ(GetRealMonthDays(1582, 10), 21);
    EXPECT_EQ(GetRealDayOfYear(1582, 10, 4), 277);
    EXPECT_EQ(GetRealDayOfYear(1582, 10, 15), 278);
    EXPECT_EQ(GetRealDayOfYear(1582, 12, 31), 355);
    EXPECT_EQ(GetRealDayOfYear(1583, 12, 31), 365);
    int month = 0, day = 0;
    RealDayOfYearToDate(1582, 278, month, day);
    EXPECT_EQ(month, 10);
    EXPECT_EQ(day, 15);
    RealDayOfYearToDate(1582, 277, month, day);
    EXPECT_EQ(day, 4);
}

// Over the whole range the year name changes exactly on the day of 立春 and
// the month name exactly on the day of a 节, so the term texts, the year
// names and the month names always agree.
TEST(SolarTerms, NamesTurnExactlyOnTheirTerms1901To2100)
{
    std::string previousYear, previousMonth;
    for (double date = qn::EncodeDate(1901, 1, 1); date <= qn::EncodeDate(2100, 12, 31); date += 1) {
        const qn::CivilDate c = qn::DecodeDate(date);
        const std::string term(GetSolarTermText(date));
        const std::string yearName(GetGanZhiText(GetDateYearGanZhi(c.year, c.month, c.day)));
        const std::string monthName(GetGanZhiText(GetMonthGanZhi(c.year, c.month, c.day)));
        ASSERT_FALSE(monthName.empty()) << date;
        bool isJie = false;
        for (int n = 1; n <= 23; n += 2)
            isJie = isJie || term == TermNames[static_cast<std::size_t>((n + 21) % 24)];
        if (!previousYear.empty()) {
            ASSERT_EQ(yearName != previousYear, term == "立春") << c.year << "-" << c.month << "-" << c.day;
            ASSERT_EQ(monthName != previousMonth, isJie) << c.year << "-" << c.month << "-" << c.day;
        }
        previousYear = yearName;
        previousMonth = monthName;
    }
}

}  // namespace
