// kvl::Variant's conversions of text to numbers and Booleans.
#include <string>

#include "kvl/Error.h"
#include "kvl/Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kvl::Variant text(std::string(reinterpret_cast<const char*>(data), size));
    try {
        text.ToDouble();
    } catch (const kvl::Error&) {  // type mismatch or overflow: the classic answers
    }
    try {
        text.ToInt16();
    } catch (const kvl::Error&) {
    }
    try {
        text.ToInt32();
    } catch (const kvl::Error&) {
    }
    try {
        text.ToBool();
    } catch (const kvl::Error&) {
    }
    return 0;
}
