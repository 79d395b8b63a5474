#include "calendar/Almanac.h"

#include "calendar/ChnCal.h"
#include "calendar/DateValue.h"
#include "calendar/LunarCore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct AlmanacCase {
    int year, month, day;
    const char* text;
};

std::string DateText(int y, int m, int d) { return qn::DateKey(qn::EncodeDate(y, m, d)); }

// Published dates. 冬至, 夏至, 立秋 and 清明 as in the Purple Mountain
// Observatory's 《中国天文年历》 for 2023–2026; the 入伏 dates and the length of
// 三伏 as the China Meteorological Administration announced them each year
// (2023: 7-11, 40 days; 2024: 7-15, 40 days; 2025: 7-20, 30 days); 小年,
// 龙抬头, 上巳, 中元 and 下元 as the lunar dates of the official calendar
// (GB/T 33661-2017 tables, as printed in the yearly 农历 wall calendars).
const AlmanacCase kPublished[] = {
    {2024, 12, 21, "一九"},  // 冬至 2024-12-21
    {2024, 12, 24, "平安夜 一九第4天"},
    {2024, 12, 30, "二九"},
    {2025, 3, 1, "龙抬头 八九第8天"},  // 二月初二
    {2025, 3, 10, "九九第8天"},
    {2025, 3, 11, "九九第9天"},
    {2025, 3, 12, ""},      // 81 days are over
    {2025, 7, 20, "初伏"},  // third 庚 day from 夏至 (6-21)
    {2025, 7, 29, "初伏第10天"},
    {2025, 7, 30, "中伏"},
    {2025, 8, 8, "中伏第10天"},  // 立秋 8-7: the first 庚 day from it is 8-9
    {2025, 8, 9, "末伏"},
    {2025, 8, 18, "末伏第10天"},
    {2025, 8, 19, ""},
    {2024, 7, 15, "初伏"},
    {2024, 7, 25, "中伏"},
    {2024, 8, 13, "中伏第20天"},  // 8-4 is before 立秋 (8-7): 中伏 has 20 days
    {2024, 8, 14, "末伏"},
    {2024, 8, 18, "中元 末伏第5天"},
    {2023, 7, 11, "初伏"},
    {2023, 7, 21, "中伏"},
    {2023, 8, 10, "末伏"},
    {2023, 12, 22, "一九"},
    {2024, 2, 2, "小年 五九第7天"},  // 腊月廿三
    {2025, 1, 22, "小年 四九第6天"},
    {2026, 2, 10, "小年 六九第7天"},
    {2024, 3, 11, "龙抬头 九九第9天"},
    {2026, 3, 20, "龙抬头"},
    {2024, 4, 3, "寒食"},  // 清明 2024-04-04
    {2023, 4, 4, "寒食"},  // 清明 2023-04-05
    {2025, 3, 31, "上巳"},
    {2023, 4, 22, "上巳"},  // 2023 has a leap second month: 三月初三 comes late
    {2025, 9, 6, "中元"},   // after the leap sixth month of 2025
    {2024, 11, 15, "下元"},
    {2025, 12, 4, "下元"},
    {2025, 12, 24, "平安夜 一九第4天"},
    {2025, 6, 15, ""},
    {2024, 10, 1, ""},
};

TEST(Almanac, PublishedDates)
{
    for (const AlmanacCase& c : kPublished)
        EXPECT_EQ(GetAlmanacText(c.year, c.month, c.day), c.text) << DateText(c.year, c.month, c.day);
}

TEST(Almanac, SeveralTextsComeInAFixedOrder)
{
    const std::vector<std::string> expected = {"中元", "末伏第5天"};
    EXPECT_EQ(GetAlmanacTexts(2024, 8, 18), expected);
}

TEST(Almanac, OutsideTheEngineNothing)
{
    EXPECT_TRUE(GetAlmanacTexts(0, 12, 24).empty());
    EXPECT_TRUE(GetAlmanacTexts(2101, 1, 1).empty());  // 数九 of 2100 runs on, but the engine stops
    EXPECT_TRUE(GetAlmanacTexts(2024, 2, 30).empty());
    EXPECT_EQ(GetAlmanacText(2100, 12, 24).substr(0, 9), "平安夜");
}

// Every year: each text sits where its rule puts it, judged by what the
// calendar itself shows for the days (solar term, day stem and branch, lunar
// date), so the almanac never disagrees with the rest of the day's texts.
class AlmanacYear {
public:
    explicit AlmanacYear(int year)
    {
        const long long first = qn::DaysFromCivil(year, 1, 1) - 1;  // from Dec 31 before
        for (long long d = first; d <= qn::DaysFromCivil(year, 12, 31); ++d) {
            const qn::CivilDate c = qn::CivilFromDays(d);
            TChnCal cal;
            cal.Compute(qn::EncodeDate(c.year, c.month, c.day));
            days_.push_back(
                {c, cal, c.year == year ? GetAlmanacTexts(c.year, c.month, c.day) : std::vector<std::string>{}});
        }
    }
    struct Day {
        qn::CivilDate date;
        TChnCal cal;
        std::vector<std::string> texts;
        bool Has(const std::string& text) const
        {
            for (const auto& t : texts)
                if (t == text)
                    return true;
            return false;
        }
    };
    const std::vector<Day>& days() const { return days_; }
    // Index of the day that shows the term, or -1.
    int TermIndex(const char* term) const
    {
        for (std::size_t i = 1; i < days_.size(); ++i)
            if (days_[i].cal.SolarTerm == term)
                return static_cast<int>(i);
        return -1;
    }
    int IndexOf(const std::string& text) const
    {
        for (std::size_t i = 1; i < days_.size(); ++i)
            if (days_[i].Has(text))
                return static_cast<int>(i);
        return -1;
    }
    std::string Stem(int i) const { return days_[static_cast<std::size_t>(i)].cal.DayGanZhi.substr(0, 3); }
    std::string Branch(int i) const { return days_[static_cast<std::size_t>(i)].cal.DayGanZhi.substr(3, 3); }

private:
    std::vector<Day> days_;
};

void CheckYear(int year)
{
    SCOPED_TRACE(year);
    const AlmanacYear y(year);
    const auto& days = y.days();

    // 数九 from the 冬至 shown in the year.
    const int winter = y.TermIndex("冬至");
    ASSERT_GT(winter, 0);
    EXPECT_TRUE(days[static_cast<std::size_t>(winter)].Has("一九"));
    EXPECT_FALSE(days[static_cast<std::size_t>(winter - 1)].Has("一九"));
    if (winter + 1 < static_cast<int>(days.size())) {
        EXPECT_TRUE(days[static_cast<std::size_t>(winter + 1)].Has("一九第2天"));
    }

    // 三伏: the third 庚 day from 夏至 on, then every ten days until the first
    // 庚 day from 立秋 on.
    const int summer = y.TermIndex("夏至");
    const int autumn = y.TermIndex("立秋");
    ASSERT_GT(summer, 0);
    ASSERT_GT(autumn, 0);
    int geng = 0, first = -1;
    for (int i = summer; first < 0; ++i)
        if (y.Stem(i) == "庚" && ++geng == 3)
            first = i;
    EXPECT_TRUE(days[static_cast<std::size_t>(first)].Has("初伏"));
    EXPECT_EQ(y.IndexOf("中伏"), first + 10);
    const int last = y.IndexOf("末伏");
    EXPECT_EQ(y.Stem(last), "庚");
    EXPECT_GE(last, autumn);
    EXPECT_LT(last, autumn + 10);
    EXPECT_TRUE(last == first + 20 || last == first + 30) << last - first;
    EXPECT_TRUE(days[static_cast<std::size_t>(last + 9)].Has("末伏第10天"));

    // 入梅 the first 丙 day after 芒种, 出梅 the first 未 day after 小暑.
    const int plumIn = y.IndexOf("入梅");
    const int grain = y.TermIndex("芒种");
    EXPECT_EQ(y.Stem(plumIn), "丙");
    EXPECT_GT(plumIn, grain);
    EXPECT_LE(plumIn, grain + 10);
    const int plumOut = y.IndexOf("出梅");
    const int heat = y.TermIndex("小暑");
    EXPECT_EQ(y.Branch(plumOut), "未");
    EXPECT_GT(plumOut, heat);
    EXPECT_LE(plumOut, heat + 12);

    // 寒食 the day before 清明.
    EXPECT_EQ(y.IndexOf("寒食") + 1, y.TermIndex("清明"));

    // The lunar days wherever the calendar shows them, never in a leap month.
    struct LunarRule {
        const char* text;
        int month;
        const char* day;
    };
    const LunarRule rules[] = {
        {"小年", 12, "廿三"}, {"龙抬头", 2, "初二"}, {"上巳", 3, "初三"}, {"中元", 7, "十五"}, {"下元", 10, "十五"}};
    for (const LunarRule& rule : rules) {
        SCOPED_TRACE(rule.text);
        for (const auto& d : days) {
            if (d.date.year != year)
                continue;
            const bool matches = d.cal.LunarMonth == rule.month && d.cal.LunarDayText == rule.day
                && d.cal.LunarMonthText.find("闰") == std::string::npos;
            EXPECT_EQ(d.Has(rule.text), matches) << DateText(d.date.year, d.date.month, d.date.day);
        }
    }
    EXPECT_EQ(y.IndexOf("平安夜"), static_cast<int>(days.size()) - 8);  // December 24th
}

TEST(Almanac, EveryRuleHoldsAgainstTheShownDays)
{
    // From the first whole Gregorian year on. (Before it the engine reads
    // the dates as Julian ones and does not show every term in its month.)
    for (int year = 1583; year <= 2100; ++year)
        CheckYear(year);
}

TEST(Almanac, TheLunarDaysBeforeTheGregorianCalendarAreWhereverTheDaysShowThem)
{
    // Before 1583 the dates are Julian ones and a Julian 29 February of 1500,
    // 1400 … has no date value, so the lunar day shown moves on by two there:
    // 1500-02-28 is 正月廿九 and 1500-03-01 二月初二 (龙抬头).
    struct LunarRule {
        const char* text;
        int month, day;
    };
    const LunarRule rules[] = {{"小年", 12, 23}, {"龙抬头", 2, 2}, {"上巳", 3, 3}, {"中元", 7, 15}, {"下元", 10, 15}};
    for (long long n = qn::DaysFromCivil(1, 1, 1); n <= qn::DaysFromCivil(1582, 12, 31); ++n) {
        const qn::CivilDate c = qn::CivilFromDays(n);
        int lunarYear = 0, lunarMonth = 0, lunarDay = 0;
        bool leap = false;
        if (!SolarToLunar(c.year, c.month, c.day, lunarYear, lunarMonth, lunarDay, leap))
            continue;
        const std::string texts = GetAlmanacText(c.year, c.month, c.day);
        for (const LunarRule& rule : rules) {
            const bool shown = texts.find(rule.text) != std::string::npos;
            ASSERT_EQ(shown, !leap && lunarMonth == rule.month && lunarDay == rule.day)
                << rule.text << " " << DateText(c.year, c.month, c.day);
        }
    }
    EXPECT_EQ(GetAlmanacText(1500, 3, 1), "龙抬头 九九第7天");
}

}  // namespace
