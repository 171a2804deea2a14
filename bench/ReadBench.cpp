// The readers side by side on each driver, over the same rows and query: the plain loop of
// ODBC calls, TemLinhas + Col, and CarregaTudo followed by a walk of the stored rows. Before
// timing, each checks that it reads the values the plain loop reads (a checksum of every
// value, which labels the benchmark). The plain loop and CarregaTudo + walk also run at
// 10,000 and 1,000,000 rows, for how their time per row grows; CarregaTudo's peak memory
// against the text size of the data is measured in a fresh process ("mem_ratio").

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <exception>
#include <string_view>

#include "Memory.h"
#include "Readers.h"

namespace kvlbench {

namespace {

// The backend and the query of the benchmark's rows; nullptr (skipped) when unreachable.
const Backend* Prepare(benchmark::State& state, const char* backend, std::string& query) {
    const Backend* b = Find(backend);
    if (!b) state.SkipWithError("backend not reachable");
    query = Query(static_cast<int32_t>(state.range(0)));
    return b;
}

template <typename Read>
void Time(benchmark::State& state, Read&& read) {
    const int64_t rows = state.range(0);
    int64_t got = 0;
    for (auto _ : state) got = read();
    if (got != rows) state.SkipWithError("the query did not give every row");
    state.SetItemsProcessed(state.iterations() * rows);
}

void PlainRead(benchmark::State& state, const char* backend) {
    std::string query;
    const Backend* b = Prepare(state, backend, query);
    if (!b) return;
    state.SetLabel(PlainChecksum(*b, query).Text());
    PlainConnection c(b->connectionText);
    Time(state, [&] { return ReadPlain(c, query, kKeepPlain); });
}

void CellsRead(benchmark::State& state, const char* backend) {
    std::string query;
    const Backend* b = Prepare(state, backend, query);
    if (!b || !SameAsPlain(state, *b, query, CellsChecksum(*b, query))) return;
    auto s = Open(*b);
    Time(state, [&] { return ReadCells(*s, query, kKeepCell); });
}

void StoredRead(benchmark::State& state, const char* backend) {
    std::string query;
    const Backend* b = Prepare(state, backend, query);
    if (!b || !SameAsPlain(state, *b, query, StoredChecksum(*b, query))) return;
    auto s = Open(*b);
    Time(state, [&] { return ReadStored(*s, query, kKeepCell); });
    try {
        MemoryUse use = MeasureInFreshProcess(*b, static_cast<int32_t>(state.range(0)));
        state.counters["peak_MB"] = use.peakBytes / 1e6;
        state.counters["text_MB"] = use.textBytes / 1e6;
        state.counters["mem_ratio"] = use.peakBytes / use.textBytes;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The rows of the comparison, and the growth sizes around them; KVL_BENCH_MILLION=0 leaves
// out the whole table, the longest to run.
void AllSizes(benchmark::internal::Benchmark* b) {
    b->ArgName("rows")->Arg(10'000)->Arg(kReadRows);
    const char* million = std::getenv("KVL_BENCH_MILLION");
    if (!million || std::string_view(million) != "0") b->Arg(kTableRows);
}

}  // namespace

KVL_BENCH_BOTH(PlainRead, ->Apply(AllSizes));
KVL_BENCH_BOTH(CellsRead, ->ArgName("rows")->Arg(kReadRows));
KVL_BENCH_BOTH(StoredRead, ->Apply(AllSizes));

}  // namespace kvlbench
