#include "calendar/GanZhi.h"
#include "calendar/LunarCore.h"
#include "calendar/YearMemo.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

TEST(YearMemo, FillsOnceAndPassesOtherYearsThrough)
{
    YearMemo<int, 10, 12> memo;
    int calls = 0;
    auto square = [&calls](int y) {
        ++calls;
        return y * y;
    };
    EXPECT_EQ(memo.Get(11, square), 121);
    EXPECT_EQ(memo.Get(11, square), 121);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(memo.Get(13, square), 169);  // outside: computed every time
    EXPECT_EQ(memo.Get(13, square), 169);
    EXPECT_EQ(calls, 3);
}

struct DayResult {
    int lunarYear = 0, lunarMonth = 0, lunarDay = 0;
    bool leap = false;
    int monthName = 0;
    friend bool operator==(const DayResult&, const DayResult&) = default;
};

// Years no other test touches, so that the two threads race to fill the memo.
std::vector<DayResult> ComputeYears(int first, int last, CalcPath path)
{
    std::vector<DayResult> out;
    for (int year = first; year <= last; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 28; day += 9) {
                DayResult r;
                EXPECT_TRUE(SolarToLunar(year, month, day, r.lunarYear, r.lunarMonth, r.lunarDay, r.leap, path));
                r.monthName = GetMonthGanZhi(year, month, day, path);
                out.push_back(r);
            }
        }
    }
    return out;
}

TEST(YearMemo, ConcurrentFirstUseGivesTheUncachedResults)
{
    const int first = -700, last = -400;
    std::array<std::vector<DayResult>, 2> results;
    std::thread a([&] { results[0] = ComputeYears(first, last, CalcPath::Cached); });
    std::thread b([&] { results[1] = ComputeYears(first, last, CalcPath::Cached); });
    a.join();
    b.join();
    const std::vector<DayResult> expected = ComputeYears(first, last, CalcPath::Uncached);
    EXPECT_TRUE(results[0] == expected);
    EXPECT_TRUE(results[1] == expected);
}

}  // namespace
