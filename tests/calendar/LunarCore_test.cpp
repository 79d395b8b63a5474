#include "LeapMonthTables.h"
#include "LunarCore.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct LunarCase {
    int year, month, day;
    int lunarYear, lunarMonth, lunarDay;
    bool leap;
};

void ExpectLunar(const LunarCase& c)
{
    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    ASSERT_TRUE(SolarToLunar(c.year, c.month, c.day, ly, lm, ld, leap))
        << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(ly, c.lunarYear) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(lm, c.lunarMonth) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(ld, c.lunarDay) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(leap, c.leap) << c.year << "-" << c.month << "-" << c.day;
}

TEST(LunarCore, SolarToLunarKnownDays)
{
    const LunarCase cases[] = {
        {2024, 2, 10, 2024, 1, 1, false},  {2024, 2, 9, 2023, 12, 30, false}, {2023, 3, 22, 2023, 2, 1, true},
        {2023, 4, 19, 2023, 2, 29, true},  {2023, 4, 20, 2023, 3, 1, false},  {2033, 12, 22, 2033, 11, 1, true},
        {2034, 1, 20, 2033, 12, 1, false}, {1924, 3, 4, 1924, 1, 29, false},  {1924, 3, 5, 1924, 2, 1, false},
        {2018, 11, 7, 2018, 9, 30, false}, {2018, 11, 8, 2018, 10, 1, false}, {1900, 1, 31, 1900, 1, 1, false},
        {2100, 2, 9, 2100, 1, 1, false},   {2010, 6, 1, 2010, 4, 19, false},
    };
    for (const auto& c : cases)
        ExpectLunar(c);
}

TEST(LunarCore, LeapMonthCodeString)
{
    EXPECT_EQ(std::string_view(LeapMonthCodes).size(), 2950u);
    EXPECT_EQ(GetLeapMonthCode(2023), 2);
    EXPECT_EQ(GetLeapMonthCode(2033), 11);
    EXPECT_EQ(GetLeapMonthCode(2024), 0);
    EXPECT_EQ(GetLeapMonthCode(-848), 12);
    EXPECT_EQ(GetLeapMonthCode(0), 0);
}

}  // namespace
