#include "calendar/DateValue.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
    int year, month, day;
    double value;
};

TEST(DateValue, EncodesAndDecodesKnownDays)
{
    const DateCase cases[] = {
        {1899, 12, 30, 0},  {1899, 12, 31, 1},     {1900, 1, 1, 2},         {2000, 1, 1, 36526},    {2010, 6, 1, 40330},
        {1, 1, 1, -693593}, {2100, 12, 31, 73415}, {1582, 10, 15, -115858}, {1582, 10, 4, -115869},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qn::EncodeDate(c.year, c.month, c.day), c.value) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(qn::DecodeDate(c.value), (qn::CivilDate{c.year, c.month, c.day})) << c.value;
    }
}

TEST(DateValue, TimeOfDayBeforeDayZeroCountsForwardFromMidnight)
{
    const double v = qn::EncodeDateTime(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(v, -1.25);
    EXPECT_EQ(qn::DecodeDate(v), (qn::CivilDate{1899, 12, 29}));
    EXPECT_EQ(qn::DecodeTime(v).hour, 6);
    const double w = qn::EncodeDateTime(2010, 6, 1, 23, 59, 30);
    EXPECT_EQ(qn::DecodeTime(w).hour, 23);
    EXPECT_EQ(qn::DecodeTime(w).minute, 59);
    EXPECT_EQ(qn::DecodeTime(w).second, 30);
}

TEST(DateValue, Weekdays)
{
    EXPECT_EQ(qn::IsoWeekday(qn::EncodeDate(2010, 6, 1)), 2);    // Tuesday
    EXPECT_EQ(qn::IsoWeekday(qn::EncodeDate(2012, 3, 4)), 7);    // Sunday
    EXPECT_EQ(qn::IsoWeekday(qn::EncodeDate(1899, 12, 30)), 6);  // Saturday
    EXPECT_EQ(qn::IsoWeekday(qn::EncodeDate(1, 1, 1)), 1);       // Monday (proleptic)
    EXPECT_EQ(qn::SundayFirstWeekday(qn::EncodeDate(2012, 3, 4)), 1);
    EXPECT_EQ(qn::SundayFirstWeekday(qn::EncodeDate(1899, 12, 30)), 7);
}

TEST(DateValue, IsoWeekNumbers)
{
    EXPECT_EQ(qn::IsoWeekNumber(qn::EncodeDate(2008, 12, 29)), 1);
    EXPECT_EQ(qn::IsoWeekNumber(qn::EncodeDate(2010, 1, 3)), 53);
    EXPECT_EQ(qn::IsoWeekNumber(qn::EncodeDate(2010, 6, 1)), 22);
    EXPECT_EQ(qn::IsoWeekNumber(qn::EncodeDate(2021, 1, 1)), 53);
}

TEST(DateValue, KeysAreZeroPaddedAndIgnoreTheTime)
{
    EXPECT_EQ(qn::DateKey(qn::EncodeDateTime(2010, 6, 1, 23, 59, 0)), "20100601");
    EXPECT_EQ(qn::DateKey(qn::EncodeDate(9, 1, 5)), "00090105");
    EXPECT_EQ(qn::DateKey(qn::EncodeDateTime(1899, 12, 29, 23, 0, 0)), "18991229");
}

}  // namespace
