#include "ChnCal.h"
#include "DateValue.h"

#include <gtest/gtest.h>

namespace {

TEST(ChnCal, ComputesSpringFestival2024)
{
    TChnCal cal;
    cal.Compute(qn::EncodeDate(2024, 2, 10));
    EXPECT_EQ(cal.LunarYear, 2024);
    EXPECT_EQ(cal.LunarMonth, 1);
    EXPECT_EQ(cal.LunarYearText, "2024");
    EXPECT_EQ(cal.LunarMonthText, "正月");
    EXPECT_EQ(cal.LunarDayText, "初一");
    EXPECT_EQ(cal.LunarHoliday, "春节");
    EXPECT_EQ(cal.YearGanZhi, "甲辰");
    EXPECT_EQ(cal.MonthGanZhi, "丙寅");
    EXPECT_EQ(cal.DayGanZhi, "甲辰");
    EXPECT_EQ(cal.Animal, "龙");
    EXPECT_EQ(cal.Constellation, "宝瓶");
    EXPECT_EQ(cal.SolarTerm, "");
    EXPECT_EQ(cal.Holiday, "");
    EXPECT_EQ(cal.EraName, "");
}

}  // namespace
