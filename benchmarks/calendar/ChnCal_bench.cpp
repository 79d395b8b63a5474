// Speed of the day-information object: every day of 1901-2100, and the
// layout of one month (the selected day plus each day of its month), with
// the per-year memo and without it.

#include "calendar/ChnCal.h"
#include "calendar/DateValue.h"

#include <benchmark/benchmark.h>

namespace {

void UseAllFields(const TChnCal& cal)
{
    benchmark::DoNotOptimize(cal.LunarYear);
    benchmark::DoNotOptimize(cal.LunarMonth);
    benchmark::DoNotOptimize(cal.SolarTerm.data());
    benchmark::DoNotOptimize(cal.Holiday.data());
    benchmark::DoNotOptimize(cal.LunarMonthText.data());
    benchmark::DoNotOptimize(cal.DayGanZhi.data());
    benchmark::DoNotOptimize(cal.YearGanZhi.data());
    benchmark::DoNotOptimize(cal.MonthGanZhi.data());
    benchmark::DoNotOptimize(cal.LunarHoliday.data());
    benchmark::DoNotOptimize(cal.LunarYearText.data());
    benchmark::DoNotOptimize(cal.LunarDayText.data());
    benchmark::DoNotOptimize(cal.Animal.data());
    benchmark::DoNotOptimize(cal.Constellation.data());
    benchmark::DoNotOptimize(cal.EraName.data());
}

void ComputeRange(benchmark::State& state, double first, double last, CalcPath path)
{
    TChnCal cal;
    for (auto _ : state) {
        for (double d = first; d <= last; d += 1) {
            cal.Compute(d, path);
            UseAllFields(cal);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(last - first + 1));
}

// Every day of 1901-2100 (73,414 days per iteration).
void BM_ComputeEveryDay1901To2100(benchmark::State& state)
{
    ComputeRange(state, qn::EncodeDate(1901, 1, 1), qn::EncodeDate(2100, 12, 31), CalcPath::Cached);
}
BENCHMARK(BM_ComputeEveryDay1901To2100)->Unit(benchmark::kMillisecond);

// One year from scratch, for the speed-up of the memo (the whole range
// uncached takes seconds per iteration).
void BM_ComputeEveryDayOf2024(benchmark::State& state)
{
    ComputeRange(state, qn::EncodeDate(2024, 1, 1), qn::EncodeDate(2024, 12, 31), CalcPath::Cached);
}
BENCHMARK(BM_ComputeEveryDayOf2024)->Unit(benchmark::kMicrosecond);

void BM_ComputeEveryDayOf2024Uncached(benchmark::State& state)
{
    ComputeRange(state, qn::EncodeDate(2024, 1, 1), qn::EncodeDate(2024, 12, 31), CalcPath::Uncached);
}
BENCHMARK(BM_ComputeEveryDayOf2024Uncached)->Unit(benchmark::kMillisecond);

// What the calendar control does when it lays out a month: the selected day,
// then each day of its month. The months stepped through are all different,
// as when the user pages through the years.
void MonthLayout(benchmark::State& state, CalcPath path)
{
    TChnCal cal;
    int year = 1901, month = 1;
    for (auto _ : state) {
        const double first = qn::EncodeDate(year, month, 1);
        cal.Compute(first + 14, path);
        UseAllFields(cal);
        const int days = qn::DaysInGregorianMonth(year, month);
        for (int day = 0; day < days; ++day) {
            cal.Compute(first + day, path);
            UseAllFields(cal);
        }
        if (++month > 12) {
            month = 1;
            year = year == 2100 ? 1901 : year + 1;
        }
    }
}

void BM_MonthLayout(benchmark::State& state) { MonthLayout(state, CalcPath::Cached); }
BENCHMARK(BM_MonthLayout)->Unit(benchmark::kMicrosecond);

void BM_MonthLayoutUncached(benchmark::State& state) { MonthLayout(state, CalcPath::Uncached); }
BENCHMARK(BM_MonthLayoutUncached)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
