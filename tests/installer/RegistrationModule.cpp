// A library with self-registration entry points, for the regsvr32 tests: registering writes
// the file named by ZOVLT_TEST_MARKER, unregistering removes it, and ZOVLT_TEST_REFUSE makes
// both report a failure.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int32_t kFailed = -2147467259;

bool Refused() {
    return std::getenv("ZOVLT_TEST_REFUSE") != nullptr;
}

const char* Marker() {
    const char* marker = std::getenv("ZOVLT_TEST_MARKER");
    return marker ? marker : "";
}

}  // namespace

extern "C" int32_t DllRegisterServer() {
    if (Refused()) return kFailed;
    std::FILE* file = std::fopen(Marker(), "w");
    if (!file) return kFailed;
    std::fclose(file);
    return 0;
}

extern "C" int32_t DllUnregisterServer() {
    if (Refused()) return kFailed;
    return std::remove(Marker()) == 0 ? 0 : kFailed;
}
