// Speed of the almanac texts: the first pass over 1901-2100 works out every
// year (cold), later passes only look up; qncal --tsv over two centuries
// pays the cold pass once.

#include "calendar/Almanac.h"
#include "calendar/DateValue.h"

#include <benchmark/benchmark.h>

namespace {

void EveryDay(benchmark::State& state)
{
    const long long first = qn::DaysFromCivil(1901, 1, 1), last = qn::DaysFromCivil(2100, 12, 31);
    for (auto _ : state) {
        for (long long d = first; d <= last; ++d) {
            const qn::CivilDate c = qn::CivilFromDays(d);
            benchmark::DoNotOptimize(GetAlmanacText(c.year, c.month, c.day));
        }
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
}

// Registered first so that it runs on the empty per-year memo.
void BM_AlmanacEveryDay1901To2100Cold(benchmark::State& state) { EveryDay(state); }
BENCHMARK(BM_AlmanacEveryDay1901To2100Cold)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AlmanacEveryDay1901To2100(benchmark::State& state) { EveryDay(state); }
BENCHMARK(BM_AlmanacEveryDay1901To2100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
