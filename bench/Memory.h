#pragma once
// Peak memory of storing every row with CarregaTudo, measured in a fresh process so
// that nothing an earlier benchmark allocated, freed or kept hides or adds to it.

#include <cstdint>

namespace kvlbench {

struct MemoryUse {
    double peakBytes = 0;  // growth of the peak resident size while the rows were stored
    double textBytes = 0;  // sum of the lengths of every value stored
};

// Runs a copy of this program that stores the first `rows` rows of the SQLite data.
MemoryUse MeasureInFreshProcess(int32_t rows);

// The argument that makes this program the measuring copy.
inline constexpr const char* kMemoryChild = "--memory-child";

// The copy's side: argv holds kMemoryChild, the SQLite file and the row count; prints
// the peak and text bytes on standard output.
int MemoryChild(char** argv);

}  // namespace kvlbench
