// The stand-in's reader of menu customisation files (XML).
#include <stdexcept>

#include "FuzzFile.h"
#include "cad-standin/MenuFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        standin::ReadMenuFile("C:\\m\\group.cui", kvlfuzz::FileWith(data, size));
    } catch (const std::runtime_error&) {  // not a menu file: a clear error is the answer
    }
    return 0;
}
