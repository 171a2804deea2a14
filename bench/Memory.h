#pragma once
// Peak memory of storing every row with CarregaTudo, measured in a fresh process so
// that nothing an earlier benchmark allocated, freed or kept hides or adds to it.

#include <cstdint>

#include "BenchData.h"

namespace kvlbench {

struct MemoryUse {
    double peakBytes = 0;  // growth of the peak resident size while the rows were stored
    double textBytes = 0;  // sum of the lengths of every value stored
};

// Runs a copy of this program that stores the first `rows` rows on the backend.
MemoryUse MeasureInFreshProcess(const Backend& b, int32_t rows);

// The argument that makes this program the measuring copy.
inline constexpr const char* kMemoryChild = "--memory-child";

// The copy's side: argv holds kMemoryChild, the backend's name, the SQLite file and the
// row count; prints the peak and text bytes on standard output.
int MemoryChild(char** argv);
inline constexpr int kMemoryChildArgs = 5;

}  // namespace kvlbench
