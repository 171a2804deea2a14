#pragma once
// What the command line decides about the platform: drive C:, the class registry and the
// folder that stands for the program's own.

#include <string>

#include "app/Options.h"
#include "platform/ClassRegistry.h"
#include "winhost/DriveMap.h"

namespace zovlt {

struct ProgramSetup {
    winhost::DriveMap drives;
    ClassRegistry classes;
    std::string programFolder;  // a Windows path, without a trailing backslash
};

// The class registry installed beside the program, read when --classes names none.
inline constexpr std::string_view kDefaultClassesFile = "zovlt-config.classes";

// Throws winhost::UsageError when a file named on the command line cannot be read.
ProgramSetup SetupFrom(const Options& options);

}  // namespace zovlt
