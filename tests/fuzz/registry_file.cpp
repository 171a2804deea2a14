// The registry file reader in its three formats, then a lookup in and out of Wow6432Node.
#include <string_view>

#include "kvl/Error.h"
#include "platform/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto registry =
            setup::RegistryFile::Parse({reinterpret_cast<const char*>(data), size});
        for (std::string_view path : {"HKEY_LOCAL_MACHINE\\Software\\K\\v",
                                      "HKEY_LOCAL_MACHINE\\Software\\K\\", "HKEY_LOCAL_MACHINE\\"}) {
            try {
                registry.Read(path);
            } catch (const kvl::Error&) {
            }
        }
    } catch (const kvl::Error&) {  // not a registry file: a clear error is the answer
    }
    return 0;
}
