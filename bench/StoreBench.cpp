// CarregaTudo at 10,000, 100,000 and 1,000,000 rows of the SQLite data: the time per
// row, which stays flat when rows are stored with amortised growth, and the peak
// memory against the text size of the data ("mem_ratio").

#include <benchmark/benchmark.h>

#include <exception>

#include "BenchData.h"
#include "Memory.h"
#include "kvl/kvlRES.h"

namespace kvlbench {

namespace {

void StoreAll(benchmark::State& state) {
    const auto rows = static_cast<int32_t>(state.range(0));
    auto s = Open(Sqlite());
    const std::string query = Query(rows);
    for (auto _ : state) {
        auto r = s->Exec(query);
        if (r->CarregaTudo() != rows) return state.SkipWithError("not every row was stored");
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["row_time"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    try {
        MemoryUse use = MeasureInFreshProcess(rows);
        state.counters["peak_MB"] = use.peakBytes / 1e6;
        state.counters["text_MB"] = use.textBytes / 1e6;
        state.counters["mem_ratio"] = use.peakBytes / use.textBytes;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

}  // namespace

BENCHMARK(StoreAll)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace kvlbench
