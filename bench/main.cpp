// The benchmarks' program; it is also the fresh process that measures memory.

#include <benchmark/benchmark.h>

#include <string>

#include "Memory.h"

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == kvlbench::kMemoryChild)
        return kvlbench::MemoryChild(argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
