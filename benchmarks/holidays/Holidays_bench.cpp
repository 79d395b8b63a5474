// Speed of the holiday table: loading it (parsing the shipped table and
// building the lookup) and looking up every day of the years it covers.

#include "holidays/HolidayData.h"

#include <benchmark/benchmark.h>

namespace {

void BM_HolidayLoadWithoutUserFile(benchmark::State& state)
{
    for (auto _ : state) {
        const qn::HolidayLoad load = qn::LoadHolidays("/nonexistent/cn-holidays.csv");
        benchmark::DoNotOptimize(load.calendar.Rows().size());
    }
}
BENCHMARK(BM_HolidayLoadWithoutUserFile)->Unit(benchmark::kMicrosecond);

void BM_HolidayParseShippedTable(benchmark::State& state)
{
    const std::string text = qn::FormatHolidayCsv(qn::BuiltInHolidayRows());
    for (auto _ : state)
        benchmark::DoNotOptimize(qn::ParseHolidayCsv(text).rows.size());
}
BENCHMARK(BM_HolidayParseShippedTable)->Unit(benchmark::kMicrosecond);

void BM_HolidayLookEveryDay2006To2027(benchmark::State& state)
{
    const qn::HolidayCalendar calendar(qn::BuiltInHolidayRows());
    const long long first = qn::DaysFromCivil(2006, 1, 1), last = qn::DaysFromCivil(2027, 12, 31);
    for (auto _ : state) {
        for (long long d = first; d <= last; ++d) {
            const qn::CivilDate c = qn::CivilFromDays(d);
            benchmark::DoNotOptimize(calendar.Look(c).kind);
        }
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
}
BENCHMARK(BM_HolidayLookEveryDay2006To2027)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
