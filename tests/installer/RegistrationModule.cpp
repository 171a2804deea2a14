// A library with self-registration entry points for the regsvr32 tests: registering succeeds,
// unregistering fails, so each exit status shows which entry point ran.

#include <cstdint>

extern "C" int32_t DllRegisterServer() {
    return 0;
}

extern "C" int32_t DllUnregisterServer() {
    return -2147467259;
}
