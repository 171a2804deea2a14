#include "app/ProgramSetup.h"

#include <filesystem>
#include <stdexcept>

#include "platform/Processes.h"

namespace zovlt {

namespace fs = std::filesystem;

ProgramSetup SetupFrom(const Options& options) {
    winhost::DriveMap drives = winhost::DriveMap::FromEnvironment(options.host.driveC);
    const fs::path own = options.source ? fs::path(*options.source) : OwnFolder();
    std::string programFolder = drives.ToWindows(own);
    // A drive's root is written "C:\"; the sequence appends "\..\FILES" to the folder itself.
    if (programFolder.ends_with('\\')) programFolder.pop_back();
    try {
        std::error_code ec;
        const fs::path installed = OwnFolder() / kDefaultClassesFile;
        ClassRegistry classes = options.classes             ? ClassRegistry::Load(*options.classes)
                                : fs::exists(installed, ec) ? ClassRegistry::Load(installed)
                                                            : ClassRegistry();
        return {std::move(drives), std::move(classes), std::move(programFolder)};
    } catch (const std::runtime_error& error) {
        throw winhost::UsageError(error.what());
    }
}

}  // namespace zovlt
