#include "calendar/ChnCal.h"
#include "calendar/DateValue.h"
#include "calendar/EraNames.h"
#include "calendar/Festivals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(Ymd d) { return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day); }

double Day(Ymd d) { return qn::EncodeDate(d.year, d.month, d.day); }

TChnCal ComputeFresh(Ymd d, CalcPath path = CalcPath::Cached)
{
    TChnCal cal;
    cal.Compute(Day(d), path);
    return cal;
}

// Every field, for comparing two computations of the same day.
std::vector<std::string> Fields(const TChnCal& c)
{
    return {std::to_string(c.LunarYear),
            std::to_string(c.LunarMonth),
            std::to_string(c.Date),
            c.SolarTerm,
            c.Holiday,
            c.LunarMonthText,
            c.DayGanZhi,
            c.YearGanZhi,
            c.MonthGanZhi,
            c.LunarHoliday,
            c.LunarYearText,
            c.LunarDayText,
            c.Animal,
            c.Constellation,
            c.EraName};
}

TEST(ChnCal, NewObjectIsEmpty)
{
    const TChnCal cal;
    EXPECT_EQ(cal.LunarYear, 0);
    EXPECT_EQ(cal.LunarMonth, 0);
    EXPECT_EQ(cal.Date, 0);
    EXPECT_TRUE(cal.LunarDayText.empty());
    EXPECT_TRUE(cal.EraName.empty());
}

TEST(ChnCal, SpringFestival2024)
{
    const TChnCal cal = ComputeFresh({2024, 2, 10});
    EXPECT_EQ(cal.Date, Day({2024, 2, 10}));
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
}

TEST(ChnCal, YearNameTurnsBeforeTheAnimal)
{
    const TChnCal cal = ComputeFresh({2024, 2, 5});
    EXPECT_EQ(cal.YearGanZhi, "甲辰");
    EXPECT_EQ(cal.Animal, "兔");
    EXPECT_EQ(cal.LunarYear, 2023);
    EXPECT_EQ(cal.LunarYearText, "2023");
}

TEST(ChnCal, LunarFestivals)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2024, 2, 9}, "除夕"},    {{2025, 1, 28}, "除夕"},   {{2025, 1, 7}, "腊八节"},  {{2024, 2, 24}, "元宵节"},
        {{2024, 6, 10}, "端午节"}, {{2024, 8, 10}, "七夕节"}, {{2024, 9, 17}, "中秋节"}, {{2024, 10, 11}, "重阳节"},
        {{2009, 5, 28}, "端午节"}, {{2009, 6, 27}, "端午节"},  // leap month 5 has the festivals of month 5
        {{2014, 11, 1}, "重阳节"},                             // leap month 9
        {{1916, 2, 3}, "春节"},    {{1916, 2, 2}, "除夕"},    {{1900, 1, 30}, "除夕"},   {{2024, 2, 8}, ""},
        {{2024, 3, 1}, ""},        {{2024, 1, 18}, "腊八节"},
    };
    for (const auto& [d, text] : cases)
        EXPECT_EQ(ComputeFresh(d).LunarHoliday, text) << Text(d);
    // A day of month 12 only becomes 除夕 when the next day opens month 1.
    EXPECT_EQ(GetLunarHolidayText(12, 29, Day({2024, 2, 8})), "");
    EXPECT_EQ(GetLunarHolidayText(12, 30, Day({2024, 2, 9})), "除夕");
    EXPECT_EQ(GetLunarHolidayText(11, 30, Day({2024, 2, 9})), "");
    // A time of day does not move the next day: 1900-01-30 at 18:00 is still 除夕.
    EXPECT_EQ(GetLunarHolidayText(12, 30, qn::EncodeDateTime(1900, 1, 30, 18, 0, 0)), "除夕");
}

TEST(ChnCal, GregorianFestivals)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2024, 1, 1}, "元旦节"},   {{2024, 2, 14}, "情人节"},  {{2024, 3, 8}, "妇女节"},  {{2024, 4, 1}, "愚人节"},
        {{2024, 5, 1}, "劳动节"},   {{2024, 5, 4}, "青年节"},   {{2024, 5, 12}, "母亲节"}, {{2024, 6, 16}, "父亲节"},
        {{2024, 11, 28}, "感恩节"}, {{2025, 5, 11}, "母亲节"},  {{2025, 6, 15}, "父亲节"}, {{2025, 11, 27}, "感恩节"},
        {{2024, 5, 5}, ""},         {{2024, 5, 19}, ""},        {{2024, 10, 6}, "老人节"}, {{2024, 10, 31}, "万圣节"},
        {{2024, 11, 8}, "记者日"},  {{2024, 12, 25}, "圣诞节"}, {{2024, 6, 1}, "儿童节"},  {{2024, 7, 1}, "建党节"},
        {{2024, 8, 1}, "建军节"},   {{2024, 9, 10}, "教师节"},  {{2024, 10, 1}, "国庆节"}, {{2024, 11, 21}, ""},
    };
    for (const auto& [d, text] : cases)
        EXPECT_EQ(ComputeFresh(d).Holiday, text) << Text(d);
}

TEST(ChnCal, TermsMonthsAndLeapMonthTexts)
{
    EXPECT_EQ(ComputeFresh({2024, 2, 4}).SolarTerm, "立春");
    EXPECT_EQ(ComputeFresh({2024, 2, 5}).SolarTerm, "");
    EXPECT_EQ(ComputeFresh({2016, 7, 7}).SolarTerm, "小暑");
    EXPECT_EQ(ComputeFresh({2020, 12, 7}).SolarTerm, "大雪");
    const TChnCal leap = ComputeFresh({2023, 3, 22});
    EXPECT_EQ(leap.LunarMonthText, "闰二");
    EXPECT_EQ(leap.LunarDayText, "初一");
    EXPECT_EQ(leap.LunarMonth, 2);
    const TChnCal y2083 = ComputeFresh({2083, 2, 3});
    EXPECT_EQ(y2083.SolarTerm, "立春");
    EXPECT_EQ(y2083.YearGanZhi, "癸卯");
    const TChnCal y1914 = ComputeFresh({1914, 11, 17});
    EXPECT_EQ(y1914.LunarMonthText, "十月");
    EXPECT_EQ(y1914.LunarDayText, "初一");
    const TChnCal y1920 = ComputeFresh({1920, 11, 10});
    EXPECT_EQ(y1920.LunarMonthText, "十月");
    EXPECT_EQ(y1920.LunarDayText, "初一");
    const TChnCal y1279 = ComputeFresh({1279, 3, 19});
    EXPECT_EQ(y1279.LunarMonthText + y1279.LunarDayText, "二月初六");
    const TChnCal y1368 = ComputeFresh({1368, 1, 23});
    EXPECT_EQ(y1368.LunarMonthText + y1368.LunarDayText, "正月初四");
}

TEST(ChnCal, EachCallReflectsItsOwnDate)
{
    TChnCal cal;
    cal.Compute(Day({2024, 1, 31}));
    EXPECT_EQ(cal.YearGanZhi, "癸卯");
    cal.Compute(Day({2024, 2, 5}));
    EXPECT_EQ(Fields(cal), Fields(ComputeFresh({2024, 2, 5})));
    EXPECT_EQ(cal.YearGanZhi, "甲辰");

    cal.Compute(Day({2023, 3, 1}));
    EXPECT_EQ(cal.LunarMonthText, "二月");
    cal.Compute(Day({2023, 3, 22}));
    EXPECT_EQ(cal.LunarMonthText, "闰二");

    // Texts that do not apply to the new day are cleared, not carried over.
    cal.Compute(Day({2024, 2, 10}));
    ASSERT_EQ(cal.LunarHoliday, "春节");
    cal.Compute(Day({2024, 2, 11}));
    EXPECT_EQ(cal.LunarHoliday, "");

    // A caller writing into a field does not confuse the next computation.
    cal.EraName = "x";
    cal.Compute(Day({2024, 2, 12}));
    EXPECT_EQ(Fields(cal), Fields(ComputeFresh({2024, 2, 12})));
}

// The era text is that of the Gregorian year, also when consecutive calls
// stay within one year or jump between years.
TEST(ChnCal, EraTextFollowsTheGregorianYear)
{
    TChnCal cal;
    for (const Ymd d : {Ymd{1900, 6, 1}, Ymd{1900, 6, 2}, Ymd{1368, 1, 23}, Ymd{1911, 12, 31}, Ymd{1912, 1, 1},
                        Ymd{1948, 12, 31}, Ymd{1949, 1, 1}, Ymd{2024, 2, 10}, Ymd{1900, 1, 1}}) {
        cal.Compute(Day(d));
        EXPECT_EQ(cal.EraName, GetEraText(d.year)) << Text(d);
    }
}

TEST(ChnCal, YearOutsideTheEngineOnlyChangesTheDate)
{
    TChnCal cal;
    cal.Compute(Day({2024, 2, 10}));
    std::vector<std::string> before = Fields(cal);
    cal.Compute(Day({2101, 1, 1}));
    EXPECT_EQ(cal.Date, Day({2101, 1, 1}));
    std::vector<std::string> after = Fields(cal);
    before[2] = after[2];  // Date
    EXPECT_EQ(after, before);
}

// The per-year memo must never change a result: compare with a computation
// from scratch over a wide sample, including the corrected months and terms,
// the 1582 switch and the Julian years whose 小寒 falls in December.
TEST(ChnCal, CachedAndUncachedAgreeOnEveryField)
{
    std::vector<double> days;
    for (double d = Day({1901, 1, 1}); d <= Day({2100, 12, 31}); d += 3)
        days.push_back(d);
    for (double d = Day({1, 1, 1}); d < Day({1901, 1, 1}); d += 373)
        days.push_back(d);
    for (const Ymd start :
         {Ymd{1914, 11, 1}, Ymd{1916, 1, 20}, Ymd{1920, 11, 1}, Ymd{1924, 2, 20}, Ymd{2018, 11, 1}, Ymd{2025, 3, 25},
          Ymd{2023, 3, 1}, Ymd{2084, 12, 1}, Ymd{2083, 1, 20}, Ymd{1582, 9, 20}, Ymd{1574, 1, 1}, Ymd{1640, 2, 15},
          Ymd{2100, 12, 1}, Ymd{1582, 11, 15}, Ymd{836, 12, 10}, Ymd{1500, 12, 10}, Ymd{1000, 2, 10}}) {
        for (int i = 0; i < 60; ++i)
            days.push_back(Day(start) + i);
    }
    TChnCal cached, uncached;
    for (const double d : days) {
        cached.Compute(d);
        uncached.Compute(d, CalcPath::Uncached);
        ASSERT_EQ(Fields(cached), Fields(uncached))
            << Text({qn::DecodeDate(d).year, qn::DecodeDate(d).month, qn::DecodeDate(d).day});
    }
}

// Two objects laying out different months in turn give what one object
// computing each day on its own gives.
TEST(ChnCal, TwoObjectsDoNotDisturbEachOther)
{
    TChnCal a, b;
    for (int i = 0; i < 400; ++i) {
        const double da = Day({1949, 9, 1}) + i;
        const double db = Day({2033, 11, 1}) + i;
        a.Compute(da);
        b.Compute(db);
        TChnCal fa, fb;
        fa.Compute(da, CalcPath::Uncached);
        fb.Compute(db, CalcPath::Uncached);
        ASSERT_EQ(Fields(a), Fields(fa)) << i;
        ASSERT_EQ(Fields(b), Fields(fb)) << i;
    }
}

}  // namespace
