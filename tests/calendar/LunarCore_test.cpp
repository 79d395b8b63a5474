#include "calendar/LeapMonthTables.h"
#include "calendar/LunarCore.h"

#include <gtest/gtest.h>

#include <climits>

#include <sstream>
#include <string>
#include <string_view>

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(Ymd d)
{
    std::ostringstream s;
    s << d.year << "-" << d.month << "-" << d.day;
    return s.str();
}

struct LunarCase {
    Ymd solar;
    int lunarYear, lunarMonth, lunarDay;
    bool leap;
};

void ExpectLunar(const LunarCase& c)
{
    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    ASSERT_TRUE(SolarToLunar(c.solar.year, c.solar.month, c.solar.day, ly, lm, ld, leap)) << Text(c.solar);
    EXPECT_EQ(ly, c.lunarYear) << Text(c.solar);
    EXPECT_EQ(lm, c.lunarMonth) << Text(c.solar);
    EXPECT_EQ(ld, c.lunarDay) << Text(c.solar);
    EXPECT_EQ(leap, c.leap) << Text(c.solar);
}

// ---- Solar calendar arithmetic ----

TEST(SolarCalendar, CalendarKindAroundTheSwitch)
{
    const std::pair<Ymd, int> cases[] = {
        {{1582, 10, 4}, 1}, {{1582, 10, 5}, 0},  {{1582, 10, 14}, 0}, {{1582, 10, 15}, 2},
        {{1582, 9, 30}, 1}, {{1581, 12, 31}, 1}, {{1583, 1, 1}, 2},   {{-5, 3, 1}, 1},
    };
    for (const auto& [d, kind] : cases)
        EXPECT_EQ(GetCalendarKind(d.year, d.month, d.day), kind) << Text(d);
}

TEST(SolarCalendar, LeapYearsJulianThenGregorian)
{
    const std::pair<int, bool> cases[] = {
        {1500, true}, {1582, false}, {1584, true}, {1600, true}, {1700, false}, {1900, false}, {2000, true},
        {2024, true}, {2100, false}, {4, true},    {0, true},    {-1, true},    {-5, true},    {-4, false},
    };
    for (const auto& [year, leap] : cases)
        EXPECT_EQ(IsSolarLeapYear(year), leap) << year;
    EXPECT_EQ(GetMonthDays(1500, 2), 29);
    EXPECT_EQ(GetMonthDays(1900, 2), 28);
    EXPECT_EQ(GetMonthDays(1582, 10), 31);
    EXPECT_EQ(GetMonthDays(2024, 0), 0);
    EXPECT_EQ(GetMonthDays(2024, 13), 0);
    EXPECT_EQ(GetDayOfYear(2024, 12, 31), 366);
    EXPECT_EQ(GetDayOfYear(2023, 3, 1), 60);
}

TEST(SolarCalendar, DayNumbersOfTellingDates)
{
    const std::pair<Ymd, int> cases[] = {
        {{1, 1, 1}, -1},        {{1582, 10, 4}, 577735},  {{1582, 10, 15}, 577736}, {{1899, 12, 30}, 693594},
        {{2000, 1, 1}, 730120}, {{-849, 1, 21}, -310443}, {{1582, 10, 10}, 0},
    };
    for (const auto& [d, number] : cases)
        EXPECT_EQ(GetDayNumber(d.year, d.month, d.day), number) << Text(d);
}

TEST(SolarCalendar, DayNumberToDateInvertsEveryDayNumber)
{
    int y = 0, m = 0, d = 0;
    EXPECT_FALSE(DayNumberToDate(-1, y, m, d));
    ASSERT_TRUE(DayNumberToDate(577736, y, m, d));
    EXPECT_EQ(Text({y, m, d}), "1582-10-15");
    ASSERT_TRUE(DayNumberToDate(577735, y, m, d));
    EXPECT_EQ(Text({y, m, d}), "1582-10-4");
    ASSERT_TRUE(DayNumberToDate(0, y, m, d));
    EXPECT_EQ(Text({y, m, d}), "1-1-2");
    // Every day number from year 1 to 2101 maps to a real date that maps back.
    for (int n = 0; n <= GetDayNumber(2101, 12, 31); ++n) {
        ASSERT_TRUE(DayNumberToDate(n, y, m, d)) << n;
        ASSERT_NE(GetCalendarKind(y, m, d), 0) << n;
        ASSERT_GE(d, 1) << n;
        ASSERT_LE(d, GetMonthDays(y, m)) << n;
        ASSERT_EQ(GetDayNumber(y, m, d), n) << n << " -> " << Text({y, m, d});
    }
}

TEST(SolarCalendar, CompareDates)
{
    EXPECT_EQ(CompareSolarDate(2024, 2, 10, 2024, 2, 9), 1);
    EXPECT_EQ(CompareSolarDate(2024, 2, 10, 2024, 2, 10), 0);
    EXPECT_EQ(CompareSolarDate(2023, 12, 31, 2024, 1, 1), -1);
    EXPECT_EQ(CompareLunarDate(2023, 2, 1, true, 2023, 2, 29, false), 1);
    EXPECT_EQ(CompareLunarDate(2023, 2, 29, false, 2023, 2, 1, true), -1);
    EXPECT_EQ(CompareLunarDate(2023, 2, 3, true, 2023, 2, 2, true), 1);
    EXPECT_EQ(CompareLunarDate(2023, 2, 3, true, 2023, 2, 3, true), 0);
    EXPECT_EQ(CompareLunarDate(2023, 3, 1, false, 2023, 2, 29, true), 1);
    EXPECT_EQ(CompareLunarDate(2022, 12, 1, false, 2023, 1, 1, false), -1);
}

// ---- Leap-month tables ----

TEST(LeapMonthTables, CodesCopiedWhole)
{
    EXPECT_EQ(std::string_view(LeapMonthCodes).size(), 2950u);
    EXPECT_EQ(std::string_view(LeapMonthCodes).find_first_not_of("0123456789abc"), std::string_view::npos);
    const std::pair<int, int> cases[] = {
        {2023, 2}, {2033, 11}, {2024, 0}, {-848, 12}, {0, 0},     {-849, 0},  {2100, 0},
        {2099, 2}, {2025, 6},  {2020, 4}, {1640, 1},  {1574, 12}, {-850, -1}, {2101, -1},
    };
    for (const auto& [year, code] : cases)
        EXPECT_EQ(GetLeapMonthCode(year), code) << year;
    EXPECT_EQ(GetLeapMonth(2101), 0);
    EXPECT_EQ(GetLeapMonth(2033), 11);
}

TEST(LeapMonthTables, CountsFollowTheCodesEverywhere)
{
    // 1200 and 1500 follow the ordinary rule like every other year.
    const std::pair<int, int> cases[] = {
        {-849, 0},   {-848, 1},   {-1, 311},    {1, 311},     {1199, 752},  {1200, 753},
        {1499, 863}, {1500, 863}, {1900, 1011}, {2000, 1047}, {2023, 1056}, {2100, 1084},
    };
    for (const auto& [year, count] : cases)
        EXPECT_EQ(GetLeapMonthCount(year), count) << year;
    EXPECT_EQ(LeapMonthCounts.size(), 2949u);
    for (int year = -848; year <= 2100; ++year) {
        if (year == 0)
            continue;
        const int before = year == 1 ? -1 : year - 1;
        ASSERT_EQ(GetLeapMonthCount(year) - GetLeapMonthCount(before), GetLeapMonthCode(year) != 0 ? 1 : 0) << year;
    }
}

// ---- Solar date to lunar date ----

TEST(SolarToLunar, KnownDays)
{
    const LunarCase cases[] = {
        {{2024, 2, 10}, 2024, 1, 1, false},
        {{2024, 2, 9}, 2023, 12, 30, false},
        {{2023, 3, 22}, 2023, 2, 1, true},
        {{2023, 4, 19}, 2023, 2, 29, true},
        {{2023, 4, 20}, 2023, 3, 1, false},
        {{2033, 12, 22}, 2033, 11, 1, true},
        {{2034, 1, 20}, 2033, 12, 1, false},
        {{1924, 3, 4}, 1924, 1, 29, false},
        {{1924, 3, 5}, 1924, 2, 1, false},
        {{2018, 11, 7}, 2018, 9, 30, false},
        {{2018, 11, 8}, 2018, 10, 1, false},
        {{1900, 1, 31}, 1900, 1, 1, false},
        {{2100, 2, 9}, 2100, 1, 1, false},
        {{2100, 12, 31}, 2100, 12, 1, false},
        {{2010, 6, 1}, 2010, 4, 19, false},
        // 2025 as the official calendar has it: 三月 has 30 days, 四月 29.
        {{2025, 4, 6}, 2025, 3, 9, false},
        {{2025, 4, 7}, 2025, 3, 10, false},
        {{2025, 4, 27}, 2025, 3, 30, false},
        {{2025, 4, 28}, 2025, 4, 1, false},
        {{2025, 5, 26}, 2025, 4, 29, false},
        {{2025, 5, 27}, 2025, 5, 1, false},
        // New moons just after midnight by UTC+8 but before midnight in the
        // Beijing local time of the day.
        {{1914, 11, 16}, 1914, 9, 29, false},
        {{1914, 11, 17}, 1914, 10, 1, false},
        {{1914, 12, 16}, 1914, 10, 30, false},
        {{1914, 12, 17}, 1914, 11, 1, false},
        {{1916, 2, 2}, 1915, 12, 29, false},
        {{1916, 2, 3}, 1916, 1, 1, false},
        {{1916, 3, 3}, 1916, 1, 30, false},
        {{1916, 3, 4}, 1916, 2, 1, false},
        {{1920, 11, 10}, 1920, 10, 1, false},
        {{1920, 12, 9}, 1920, 10, 30, false},
        {{1920, 12, 10}, 1920, 11, 1, false},
        // Without the old count exceptions the months from 1200 to 1499 are right.
        {{1279, 3, 19}, 1279, 2, 6, false},
        {{1368, 1, 23}, 1368, 1, 4, false},
    };
    for (const auto& c : cases)
        ExpectLunar(c);
}

TEST(SolarToLunar, YearsOutsideTheTablesFail)
{
    int ly = 7, lm = 7, ld = 7;
    bool leap = true;
    EXPECT_FALSE(SolarToLunar(2101, 1, 1, ly, lm, ld, leap));
    EXPECT_FALSE(SolarToLunar(-850, 6, 1, ly, lm, ld, leap));
    EXPECT_FALSE(GetLunarMonthDay(2101, 1, 1, lm, ld, leap));
    EXPECT_EQ(ly, 7);
    EXPECT_EQ(lm, 7);
    EXPECT_EQ(ld, 7);
    EXPECT_TRUE(leap);
    EXPECT_TRUE(SolarToLunar(2100, 6, 1, ly, lm, ld, leap));
}

TEST(SolarToLunar, GapDatesFindNoNewMoonButDoNotFail)
{
    EXPECT_EQ(GetLunarDay(1582, 10, 10), -1);
    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    EXPECT_TRUE(SolarToLunar(1582, 10, 10, ly, lm, ld, leap));
}

// A lunar year whose first month the search cannot find keeps its solar year.
TEST(SolarToLunar, Year1574HasNoFindableNewYear)
{
    int y = 0, m = 0, d = 0;
    EXPECT_FALSE(LunarToSolar(1574, 1, 1, false, y, m, d));
    ExpectLunar({{1574, 1, 10}, 1574, 12, 18, false});
    ExpectLunar({{1574, 1, 23}, 1574, 12, 1, true});
    ExpectLunar({{1574, 2, 21}, 1574, 2, 1, false});
}

// 1640's leap first month is labelled ordinary month 2 until the end of February.
TEST(SolarToLunar, Year1640LeapFirstMonthLabels)
{
    for (int day = 22; day <= 29; ++day) {
        int lm = 0, ld = 0;
        bool leap = true;
        ASSERT_TRUE(GetLunarMonthDay(1640, 2, day, lm, ld, leap));
        EXPECT_EQ(lm, 2) << day;
        EXPECT_FALSE(leap) << day;
    }
    int lm = 0, ld = 0, firstDay = 0;
    bool leap = false;
    ASSERT_TRUE(GetLunarMonthDay(1640, 2, 22, lm, firstDay, leap));
    ASSERT_TRUE(GetLunarMonthDay(1640, 3, 1, lm, ld, leap));
    EXPECT_EQ(lm, 1);
    EXPECT_TRUE(leap);
    EXPECT_EQ(ld, firstDay + 8);  // the same lunar month goes on
}

// Walk a year day by day and check the shape of its months.
TEST(SolarToLunar, LeapYears2023And2033HaveThirteenWellFormedMonths)
{
    struct YearShape {
        int lunarYear;
        int leapMonth;
    };
    for (const YearShape shape : {YearShape{2023, 2}, YearShape{2033, 11}}) {
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(LunarToSolar(shape.lunarYear, 1, 1, false, y, m, d));
        int n = GetDayNumber(y, m, d);
        int expectedMonth = 1;
        bool expectedLeap = false;
        int monthsSeen = 0;
        while (true) {
            int ly = 0, lm = 0, ld = 0;
            bool leap = false;
            ASSERT_TRUE(DayNumberToDate(n, y, m, d));
            ASSERT_TRUE(SolarToLunar(y, m, d, ly, lm, ld, leap));
            if (ly != shape.lunarYear)
                break;
            if (ld == 1) {
                ++monthsSeen;
                if (monthsSeen > 1) {
                    if (!expectedLeap && expectedMonth == shape.leapMonth) {
                        expectedLeap = true;
                    } else {
                        expectedLeap = false;
                        ++expectedMonth;
                    }
                }
            }
            ASSERT_EQ(lm, expectedMonth) << Text({y, m, d});
            ASSERT_EQ(leap, expectedLeap) << Text({y, m, d});
            ++n;
        }
        EXPECT_EQ(monthsSeen, 13) << shape.lunarYear;
        EXPECT_EQ(expectedMonth, 12) << shape.lunarYear;
    }
}

// ---- Lunar date to solar date ----

TEST(LunarToSolar, KnownDates)
{
    struct Case {
        int ly, lm, ld;
        bool leap;
        bool found;
        Ymd solar;
    };
    const Case cases[] = {
        {2024, 2, 30, false, true, {2024, 4, 8}},
        {2024, 1, 30, false, false, {}},
        {2023, 3, 1, true, false, {}},
        {2023, 2, 1, true, true, {2023, 3, 22}},
        {2023, 2, 1, false, true, {2023, 2, 20}},
        {2024, 1, 1, false, true, {2024, 2, 10}},
        {2033, 11, 1, true, true, {2033, 12, 22}},
        {2025, 3, 30, false, true, {2025, 4, 27}},
        {2025, 4, 30, false, false, {}},
        {2100, 1, 1, false, true, {2100, 2, 9}},
        {2101, 1, 1, false, false, {}},
        {-900, 1, 1, false, false, {}},
    };
    for (const auto& c : cases) {
        int y = 0, m = 0, d = 0;
        const bool found = LunarToSolar(c.ly, c.lm, c.ld, c.leap, y, m, d);
        EXPECT_EQ(found, c.found) << c.ly << "/" << c.lm << "/" << c.ld << (c.leap ? " leap" : "");
        if (found && c.found) {
            EXPECT_EQ(Text({y, m, d}), Text(c.solar)) << c.ly << "/" << c.lm << "/" << c.ld;
        }
    }
}

TEST(LunarToSolar, SpringFestivals)
{
    const Ymd days[] = {
        {1912, 2, 18}, {1949, 1, 29}, {1950, 2, 17}, {1966, 1, 21}, {1976, 1, 31}, {1984, 2, 2},  {1985, 2, 20},
        {1990, 1, 27}, {2000, 2, 5},  {2001, 1, 24}, {2008, 2, 7},  {2010, 2, 14}, {2012, 1, 23}, {2013, 2, 10},
        {2014, 1, 31}, {2015, 2, 19}, {2016, 2, 8},  {2017, 1, 28}, {2018, 2, 16}, {2019, 2, 5},  {2020, 1, 25},
        {2021, 2, 12}, {2022, 2, 1},  {2023, 1, 22}, {2025, 1, 29}, {2026, 2, 17}, {2030, 2, 3},  {2050, 1, 23},
    };
    for (const Ymd d : days) {
        int y = 0, m = 0, day = 0;
        ASSERT_TRUE(LunarToSolar(d.year, 1, 1, false, y, m, day)) << d.year;
        EXPECT_EQ(Text({y, m, day}), Text(d));
        ExpectLunar({d, d.year, 1, 1, false});
    }
    ExpectLunar({{1949, 10, 1}, 1949, 8, 10, false});
}

TEST(LunarToSolar, RoundTripsEveryDayFrom1901To2100)
{
    for (int n = GetDayNumber(1901, 1, 1); n <= GetDayNumber(2100, 12, 31); ++n) {
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(DayNumberToDate(n, y, m, d));
        int ly = 0, lm = 0, ld = 0;
        bool leap = false;
        ASSERT_TRUE(SolarToLunar(y, m, d, ly, lm, ld, leap)) << Text({y, m, d});
        ASSERT_GE(ld, 1) << Text({y, m, d});
        ASSERT_LE(ld, 30) << Text({y, m, d});
        int by = 0, bm = 0, bd = 0;
        ASSERT_TRUE(LunarToSolar(ly, lm, ld, leap, by, bm, bd)) << Text({y, m, d});
        ASSERT_EQ(Text({by, bm, bd}), Text({y, m, d}));
    }
}

// Consecutive days either go on in the same lunar month or start a new one
// with day 1; months have 29 or 30 days.
TEST(SolarToLunar, DaysRunOnWithoutGapsFrom1901To2100)
{
    int prevMonth = 0, prevDay = 0;
    bool prevLeap = false;
    for (int n = GetDayNumber(1901, 1, 1); n <= GetDayNumber(2100, 12, 31); ++n) {
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(DayNumberToDate(n, y, m, d));
        int ly = 0, lm = 0, ld = 0;
        bool leap = false;
        ASSERT_TRUE(SolarToLunar(y, m, d, ly, lm, ld, leap));
        if (prevDay != 0) {
            if (ld == 1) {
                ASSERT_GE(prevDay, 29) << Text({y, m, d});
                const bool nextIsLeap = leap && lm == prevMonth && !prevLeap;
                const bool nextIsOrdinary = !leap && lm == prevMonth % 12 + 1;
                ASSERT_TRUE(nextIsLeap || nextIsOrdinary) << Text({y, m, d});
            } else {
                ASSERT_EQ(ld, prevDay + 1) << Text({y, m, d});
                ASSERT_EQ(lm, prevMonth) << Text({y, m, d});
                ASSERT_EQ(leap, prevLeap) << Text({y, m, d});
            }
        }
        prevMonth = lm;
        prevDay = ld;
        prevLeap = leap;
    }
}

}  // namespace

namespace {

// Absurd numbers never reach the engine through a date value, but the
// functions take any int: they must answer without overflowing or hanging.
TEST(EngineInputs, ExtremeNumbersAreAnsweredSafely)
{
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1000001, -850, 0, 2101, 1000001, INT_MAX - 1, INT_MAX};
    for (const int year : extremes) {
        for (const int month : {INT_MIN, 0, 1, 13, INT_MAX}) {
            for (const int day : {INT_MIN, 0, 1, INT_MAX}) {
                (void)GetCalendarKind(year, month, day);
                (void)GetDayOfYear(year, month, day);
                (void)GetDayNumber(year, month, day);
                (void)GetLunarDay(year, month, day);
                (void)GetLunarMonth(year, month, day);
                int ly = 0, lm = 0, ld = 0;
                bool leap = false;
                const bool converted = SolarToLunar(year, month, day, ly, lm, ld, leap);
                EXPECT_EQ(converted, year >= -849 && year <= 2100);
                int y = 0, m = 0, d = 0;
                (void)LunarToSolar(year, month, day, false, y, m, d);
                (void)CompareLunarDate(year, month, day, true, year, month, day, false);
            }
        }
        EXPECT_EQ(GetLeapMonthCode(year), year >= -849 && year <= 2100 ? GetLeapMonthCode(year) : -1);
        (void)IsSolarLeapYear(year);
        (void)GetLeapMonthCount(year);
    }
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(DayNumberToDate(INT_MAX, y, m, d));
    EXPECT_GE(d, 1);
    EXPECT_LE(d, 31);
    EXPECT_FALSE(DayNumberToDate(INT_MIN, y, m, d));
}

}  // namespace
