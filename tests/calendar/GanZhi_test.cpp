#include "calendar/GanZhi.h"
#include "calendar/LunarTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(Ymd d) { return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day); }

TEST(GanZhi, NamesAndPairs)
{
    EXPECT_EQ(GetGanZhiText(0), "甲子");
    EXPECT_EQ(GetGanZhiText(1), "乙丑");
    EXPECT_EQ(GetGanZhiText(40), "甲辰");
    EXPECT_EQ(GetGanZhiText(59), "癸亥");
    EXPECT_EQ(GetGanZhiText(60), "");
    EXPECT_EQ(GetGanZhiText(-1), "");
    for (int i = 0; i < 60; ++i) {
        int stem = 0, branch = 0;
        ASSERT_TRUE(SplitGanZhi(i, stem, branch));
        EXPECT_EQ(CombineGanZhi(stem, branch), i);
        EXPECT_EQ(GanZhiNames[static_cast<std::size_t>(i)],
                  std::string(StemNames[static_cast<std::size_t>(stem)])
                      + std::string(BranchNames[static_cast<std::size_t>(branch)]));
    }
    struct Combine {
        int stem, branch, index;
    };
    for (const Combine c : {Combine{0, 0, 0}, Combine{0, 1, -1}, Combine{2, 2, 2}, Combine{9, 11, 59},
                            Combine{10, 0, -1}, Combine{-1, 0, -1}, Combine{0, 12, -1}})
        EXPECT_EQ(CombineGanZhi(c.stem, c.branch), c.index) << c.stem << "," << c.branch;
    int stem = 0, branch = 0;
    EXPECT_FALSE(SplitGanZhi(60, stem, branch));
    EXPECT_EQ(stem, -1);
    EXPECT_EQ(branch, -1);
}

TEST(GanZhi, YearNames)
{
    const std::pair<int, int> cases[] = {{2024, 40}, {1984, 0}, {1, 57}, {0, 57}, {-1, 56}, {2023, 39}, {4, 0}};
    for (const auto& [year, index] : cases)
        EXPECT_EQ(GetYearGanZhi(year), index) << year;
}

TEST(GanZhi, DateYearTurnsAtBeginningOfSpring)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2024, 2, 3}, "癸卯"}, {{2024, 2, 4}, "甲辰"}, {{2024, 2, 5}, "甲辰"},
        {{2083, 2, 2}, "壬寅"}, {{2083, 2, 3}, "癸卯"},  // 立春 2083 moved back a day
    };
    for (const auto& [d, name] : cases)
        EXPECT_EQ(GetGanZhiText(GetDateYearGanZhi(d.year, d.month, d.day)), name) << Text(d);
}

TEST(GanZhi, MonthNamesTurnAtTheJie)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2024, 1, 5}, "甲子"},  {{2024, 1, 6}, "乙丑"},  {{2024, 2, 3}, "乙丑"},
        {{2024, 2, 4}, "丙寅"},  {{2024, 3, 4}, "丙寅"},  {{2024, 3, 5}, "丁卯"},
        {{2024, 12, 5}, "乙亥"}, {{2024, 12, 6}, "丙子"}, {{2024, 12, 31}, "丙子"},
    };
    for (const auto& [d, name] : cases)
        EXPECT_EQ(GetGanZhiText(GetMonthGanZhi(d.year, d.month, d.day)), name) << Text(d);
    int solarYear = 0, solarMonth = 0;
    GetSolarMonth(2024, 1, 5, solarYear, solarMonth);
    EXPECT_EQ(solarYear, 2023);
    EXPECT_EQ(solarMonth, 11);
    GetSolarMonth(2024, 12, 6, solarYear, solarMonth);
    EXPECT_EQ(solarYear, 2024);
    EXPECT_EQ(solarMonth, 11);
}

TEST(GanZhi, DayNames)
{
    const std::pair<Ymd, const char*> cases[] = {
        {{2000, 1, 1}, "戊午"},   {{2024, 2, 10}, "甲辰"}, {{1582, 10, 4}, "癸酉"},
        {{1582, 10, 15}, "甲戌"}, {{1, 1, 1}, "丁丑"},     {{1949, 10, 1}, "甲子"},
    };
    for (const auto& [d, name] : cases)
        EXPECT_EQ(GetGanZhiText(GetDayGanZhi(d.year, d.month, d.day)), name) << Text(d);
    // From year 1 on the cycle count is the day number plus 2, across the switch too.
    for (const Ymd d : {Ymd{1, 1, 1}, Ymd{1500, 2, 29}, Ymd{1582, 10, 4}, Ymd{1582, 10, 15}, Ymd{1700, 3, 1},
                        Ymd{1701, 1, 1}, Ymd{1800, 12, 31}, Ymd{1900, 3, 1}, Ymd{2000, 2, 29}, Ymd{2100, 12, 31}})
        EXPECT_EQ(GetCycleDayCount(d.year, d.month, d.day), GetDayNumber(d.year, d.month, d.day) + 2) << Text(d);
}

TEST(GanZhi, AnimalsAndConstellations)
{
    EXPECT_EQ(GetAnimalText(GetAnimal(2023)), "兔");
    EXPECT_EQ(GetAnimalText(GetAnimal(2024)), "龙");
    EXPECT_EQ(GetAnimalText(GetAnimal(1)), "鸡");
    EXPECT_EQ(GetAnimalText(GetAnimal(-1)), "猴");
    EXPECT_EQ(GetAnimalText(12), "");
    const std::pair<Ymd, const char*> cases[] = {
        {{0, 1, 1}, "摩羯"},   {{0, 1, 19}, "摩羯"},  {{0, 1, 20}, "宝瓶"},  {{0, 2, 19}, "双鱼"},
        {{0, 3, 20}, "双鱼"},  {{0, 3, 21}, "白羊"},  {{0, 4, 21}, "金牛"},  {{0, 6, 22}, "巨蟹"},
        {{0, 8, 23}, "处女"},  {{0, 11, 23}, "射手"}, {{0, 12, 21}, "射手"}, {{0, 12, 22}, "摩羯"},
        {{0, 12, 31}, "摩羯"},
    };
    for (const auto& [d, name] : cases)
        EXPECT_EQ(GetConstellationText(GetConstellation(d.month, d.day)), name) << Text(d);
    EXPECT_EQ(GetConstellationText(-1), "");
}

TEST(LunarTexts, DayAndMonthTexts)
{
    const std::pair<int, const char*> days[] = {
        {1, "初一"},  {9, "初九"},  {10, "初十"}, {11, "十一"}, {19, "十九"}, {20, "二十"},
        {21, "廿一"}, {29, "廿九"}, {30, "三十"}, {0, ""},      {31, ""},     {-1, ""},
    };
    for (const auto& [day, text] : days)
        EXPECT_EQ(GetLunarDayText(day), text) << day;
    struct Month {
        int month;
        bool leap;
        const char* text;
    };
    for (const Month m :
         {Month{1, false, "正月"}, Month{11, false, "冬月"}, Month{12, false, "腊月"}, Month{2, true, "闰二"},
          Month{11, true, "闰冬"}, Month{12, true, "闰腊"}, Month{0, false, ""}, Month{13, true, ""}})
        EXPECT_EQ(GetLunarMonthText(m.month, m.leap), m.text) << m.month << m.leap;
}

}  // namespace

#include "calendar/SolarTerms.h"

#include <climits>

namespace {

TEST(EngineInputs, ExtremeNumbersGiveNamesInRange)
{
    for (const int year : {INT_MIN, -1000001, -850, 2101, 1000001, INT_MAX}) {
        for (const int month : {INT_MIN, 0, 1, 12, 13, INT_MAX}) {
            for (const int day : {INT_MIN, 0, 1, INT_MAX}) {
                const int yearName = GetDateYearGanZhi(year, month, day);
                EXPECT_TRUE(yearName >= 0 && yearName < 60);
                const int dayName = GetDayGanZhi(year, month, day);
                EXPECT_TRUE(dayName >= 0 && dayName < 60);
                (void)GetMonthGanZhi(year, month, day);
                (void)GetCycleDayCount(year, month, day);
                (void)GetConstellation(month, day);
                (void)GetSolarTermText(year, month, day);
            }
        }
        EXPECT_TRUE(GetAnimal(year) >= 0 && GetAnimal(year) < 12);
        EXPECT_TRUE(GetYearGanZhi(year) >= 0 && GetYearGanZhi(year) < 60);
        for (int n = -1; n <= 26; ++n)
            (void)GetTermDayOfYear(year, n);
        int m = 0, d = 0;
        for (int i = 0; i < 24; ++i)
            (void)GetTermDate(year, i, m, d);
    }
}

}  // namespace
