// Ten thousand tiny statements (SELECT 1 executed, read and released) through the library
// against the plain loop on the same driver.

#include <benchmark/benchmark.h>

#include "Readers.h"

namespace kvlbench {

namespace {

constexpr int kTinyStatements = 10'000;
const std::string kTiny = "SELECT 1";

template <typename ReadOne>
void Time(benchmark::State& state, ReadOne&& readOne) {
    int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int i = 0; i < kTinyStatements; ++i) rows += readOne();
    }
    if (rows != kTinyStatements) state.SkipWithError("a statement did not give its row");
    state.SetItemsProcessed(state.iterations() * kTinyStatements);
}

void TinyPlain(benchmark::State& state, const char* backend) {
    const Backend* b = Find(backend);
    if (!b) return state.SkipWithError("backend not reachable");
    PlainConnection c(b->connectionText);
    Time(state, [&] { return ReadPlain(c, kTiny, kKeepPlain); });
}

void TinyCells(benchmark::State& state, const char* backend) {
    const Backend* b = Find(backend);
    if (!b) return state.SkipWithError("backend not reachable");
    if (!SameAsPlain(state, *b, kTiny, CellsChecksum(*b, kTiny))) return;
    auto s = Open(*b);
    Time(state, [&] { return ReadCells(*s, kTiny, kKeepCell); });
}

}  // namespace

KVL_BENCH_BOTH(TinyPlain, );
KVL_BENCH_BOTH(TinyCells, );

}  // namespace kvlbench
