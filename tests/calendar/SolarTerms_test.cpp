#include "calendar/DateValue.h"
#include "calendar/GanZhi.h"
#include "calendar/SolarTerms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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
TEST(SolarTerms, TermDateIsTheDayOfYearOfTheTerm)
{
    for (int year = -849; year <= 2100; ++year) {
        const int daysInYear = GetDayOfYear(year, 12, 31);
        for (int i = 0; i < 24; ++i) {
            const int dayOfYear = static_cast<int>(std::floor(GetTermDayOfYear(year, i + 1)));
            if (dayOfYear < 1 || dayOfYear > daysInYear)
                continue;
            int month = 0, day = 0;
            ASSERT_TRUE(GetTermDate(year, i, month, day));
            ASSERT_GE(day, 1) << year << " " << i;
            ASSERT_LE(day, GetMonthDays(year, month)) << year << " " << i;
            ASSERT_EQ(GetDayOfYear(year, month, day), dayOfYear) << year << " " << i;
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
