// The benchmarks' program; it is also the fresh process that measures memory.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "Memory.h"

int main(int argc, char** argv) {
    if (argc == kvlbench::kMemoryChildArgs && std::string(argv[1]) == kvlbench::kMemoryChild)
        return kvlbench::MemoryChild(argv);
    // Fixed malloc thresholds: glibc otherwise raises them as large blocks come and go, so
    // a benchmark's allocations would cost what the ones run before it left behind, and
    // the library and the plain loop would not run under the same settings.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
