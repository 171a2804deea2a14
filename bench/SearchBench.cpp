// Pesquisa composing its ranked command over 2,000, 4,000 and 10,000 distinct words: the
// command itself grows with the square of the words (each weight has digits in proportion
// to its place), so the time should grow no faster than that.

#include <benchmark/benchmark.h>

#include <string>

#include "kvl/kvlSERV.h"

namespace kvlbench {

namespace {

void ComposeSearch(benchmark::State& state) {
    const auto words = state.range(0);
    std::string typed;
    for (int64_t n = 0; n < words; ++n) typed += "w" + std::to_string(n) + " ";
    auto s = kvl::kvlSERV::Create();  // composing runs nothing: no connection needed
    for (auto _ : state) {
        std::string oQue = typed;  // Pesquisa writes the normalised text back
        kvl::Variant command = s->Pesquisa("T", "C", "ID", oQue);
        benchmark::DoNotOptimize(command);
    }
    state.SetItemsProcessed(state.iterations() * words);
}

}  // namespace

BENCHMARK(ComposeSearch)
    ->Arg(2'000)
    ->Arg(4'000)
    ->Arg(10'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace kvlbench
