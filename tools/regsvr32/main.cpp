// regsvr32: registers an in-process server library by calling its DllRegisterServer entry
// point (DllUnregisterServer with /u), so the add-on installer's registration command line
// runs on Linux. The library's Windows path is mapped to the host as the installer maps it:
// drive C: is the folder the installer passes down in WINHOST_DRIVE_C, else
// $WINEPREFIX/drive_c, else ~/.wine/drive_c.
//
//   regsvr32 [/u] [/s] LIBRARY      /s: silent, nothing is printed
//
// Exit status: 0 done, 1 bad usage, 3 library not loaded, 4 entry point missing,
// 5 the entry point reported a failure.

#include <dlfcn.h>

#include <cstdint>
#include <iostream>
#include <string>

#include "kvl/Error.h"
#include "winhost/DriveMap.h"

namespace {

struct Request {
    std::string library;
    bool unregister = false;
    bool silent = false;
};

bool Parse(int argc, char** argv, Request& request) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "/u" || argument == "-u") {
            request.unregister = true;
        } else if (argument == "/s" || argument == "-s") {
            request.silent = true;
        } else if (request.library.empty()) {  // a host path may start with "/" too
            request.library = argument;
        } else {
            return false;
        }
    }
    return !request.library.empty();
}

// A Windows path goes through drive C:; anything else is a host path already.
std::string HostPath(const std::string& library) {
    if (library.size() < 2 || library[1] != ':') return library;
    try {
        return winhost::DriveMap::FromEnvironment(winhost::DriveMap::Inherited())
            .ToHost(library)
            .string();
    } catch (const kvl::Error&) {
        return library;
    }
}

int Register(const Request& request, std::string& message) {
    const char* entry = request.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    void* handle = dlopen(HostPath(request.library).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        message = "The module " + request.library + " failed to load: " + dlerror();
        return 3;
    }
    // The entry points return a 32-bit status: 0 or more is success.
    using EntryPoint = int32_t (*)();
    auto function = reinterpret_cast<EntryPoint>(dlsym(handle, entry));
    int status = 0;
    if (!function) {
        message = std::string("The entry point ") + entry + " was not found in " + request.library;
        status = 4;
    } else if (const int32_t result = function(); result < 0) {
        message = std::string(entry) + " in " + request.library + " failed with code " +
                  std::to_string(result);
        status = 5;
    } else {
        message = std::string(entry) + " in " + request.library + " succeeded.";
    }
    dlclose(handle);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    if (!Parse(argc, argv, request)) {
        std::cerr << "Usage: regsvr32 [/u] [/s] LIBRARY\n";
        return 1;
    }
    std::string message;
    const int status = Register(request, message);
    if (!request.silent) (status == 0 ? std::cout : std::cerr) << message << std::endl;
    return status;
}
