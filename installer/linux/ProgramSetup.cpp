#include "ProgramSetup.h"

#include <filesystem>

namespace zovlt {

namespace fs = std::filesystem;

ProgramSetup SetupFrom(const Options& options) {
    DriveMap drives = DriveMap::FromEnvironment(options.driveC);
    std::error_code ec;
    const fs::path own = options.source ? fs::path(*options.source)
                                        : fs::read_symlink("/proc/self/exe", ec).parent_path();
    std::string programFolder = drives.ToWindows(own);
    ClassRegistry classes =
        options.classes ? ClassRegistry::Load(*options.classes) : ClassRegistry();
    return {std::move(drives), std::move(classes), std::move(programFolder)};
}

}  // namespace zovlt
