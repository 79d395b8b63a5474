#include "calendar/DateValue.h"
#include "calendar/DayNumbers.h"
#include "calendar/GanZhi.h"
#include "calendar/LunarCore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(Ymd d) { return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day); }

// The named offsets tie the day counts together at their telling days.
TEST(DayNumbers, CountsMeetAtTheirNamedOffsets)
{
    EXPECT_EQ(qn::DayNumberFromGregorian(1, 1, 1), 1);
    EXPECT_EQ(qn::DayNumberFromGregorian(1899, 12, 30), qn::kDayNumberOfDateValueZero);
    EXPECT_EQ(qn::DaysFromCivil(1899, 12, 30), 0);
    EXPECT_EQ(GetDayNumber(1899, 12, 30), qn::kDayNumberOfDateValueZero);
    EXPECT_EQ(GetDayNumber(1582, 10, 4), qn::kLastJulianDayNumber);
    EXPECT_EQ(GetDayNumber(1582, 10, 15), qn::kFirstGregorianDayNumber);
    EXPECT_EQ(GetDayNumber(1, 1, 1), -1);  // Julian 0001-01-01 is two days before the Gregorian one
    EXPECT_EQ(qn::JulianDayZeroOfYear(1), -2);
    EXPECT_EQ(qn::GregorianDayZeroOfYear(1), 0);
    // 0001-01-01 (Julian) is 丁丑, index 13 of the day names.
    EXPECT_EQ(GetCycleDayCount(1, 1, 1), -1 + qn::kCycleCountOffset);
    EXPECT_EQ(GetDayGanZhi(1, 1, 1), 13);
}

TEST(DayNumbers, GregorianRoundTripsEveryDay)
{
    for (long long n = -800000; n <= 1200000; ++n) {
        const qn::CivilDate d = qn::GregorianFromDayNumber(n);
        ASSERT_EQ(qn::DayNumberFromGregorian(d.year, d.month, d.day), n) << n;
    }
    EXPECT_EQ(qn::GregorianFromDayNumber(qn::kFirstGregorianDayNumber), (qn::CivilDate{1582, 10, 15}));
    EXPECT_EQ(qn::GregorianFromDayNumber(0), (qn::CivilDate{0, 12, 31}));
}

// A date value counts proleptic Gregorian days, but the engine reads its
// year, month and day in the historical calendar: before 1582-10-15 the same
// numbers name the Julian date, which lies the calendars' difference later
// (or earlier) than the value's own day.
TEST(DayNumbers, EngineReadsDateValuesInTheHistoricalCalendar)
{
    struct Case {
        Ymd date;
        long long engineMinusValue;  // engine day number - the value's own day number
    };
    const Case cases[] = {
        {{1, 1, 1}, -2},     {{100, 2, 28}, -2},  {{100, 3, 1}, -1},  {{200, 3, 1}, 0},
        {{300, 3, 1}, 1},    {{1000, 6, 1}, 6},   {{1500, 3, 1}, 10}, {{1582, 10, 4}, 10},
        {{1582, 10, 15}, 0}, {{1899, 12, 30}, 0}, {{2024, 2, 10}, 0},
    };
    for (const auto& c : cases) {
        const double value = qn::EncodeDate(c.date.year, c.date.month, c.date.day);
        const qn::CivilDate read = DateOfValue(value);
        EXPECT_EQ(read, (qn::CivilDate{c.date.year, c.date.month, c.date.day})) << Text(c.date);
        const long long valueDay = static_cast<long long>(value) + qn::kDayNumberOfDateValueZero;
        EXPECT_EQ(HistoricalDayNumber(read.year, read.month, read.day) - valueDay, c.engineMinusValue) << Text(c.date);
    }
}

TEST(DayNumbers, GapDatesReadAsJulianButHaveNoDayNumber)
{
    for (int day = 5; day <= 14; ++day) {
        EXPECT_EQ(HistoricalDayNumber(1582, 10, day), qn::kLastJulianDayNumber + day - 4) << day;
        EXPECT_EQ(GetDayNumber(1582, 10, day), 0) << day;
    }
    // The day names count the gap as Julian days too.
    EXPECT_EQ(GetCycleDayCount(1582, 10, 5), GetCycleDayCount(1582, 10, 15));
}

}  // namespace
