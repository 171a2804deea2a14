#include "winhost/Removal.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "kvl/Error.h"
#include "winhost/RunLog.h"

namespace winhost {

namespace fs = std::filesystem;

namespace {

bool IsLeftover(const fs::path& file) {
    const std::string name = file.filename().string();
    return name.starts_with(".winhost-") &&
           (name.ends_with(".part") || name.ends_with(".keep") || name.ends_with(".probe"));
}

// access() says yes to root whatever the folder's mode, and nothing about immutable folders:
// only making and removing an entry tells for sure.
bool FolderTakesChanges(const fs::path& folder) {
    std::string probe = (folder / ".winhost-XXXXXX.probe").string();
    const int fd = ::mkstemps(probe.data(), 6);
    if (fd < 0) return false;
    ::close(fd);
    return ::unlink(probe.c_str()) == 0;
}

}  // namespace

bool CanRemove(const DriveMap& drives, const std::string& windowsPath) {
    try {
        const fs::path file = drives.ToHost(windowsPath);
        std::error_code error;
        if (!fs::exists(fs::symlink_status(file, error))) return true;
        return FolderTakesChanges(file.parent_path());
    } catch (const kvl::Error&) {
        return false;  // on no drive of this host
    }
}

std::vector<std::string> RemoveLeftovers(const DriveMap& drives, const std::string& windowsFolder) {
    std::vector<std::string> kept;
    fs::path folder;
    try {
        folder = drives.ToHost(windowsFolder);
    } catch (const kvl::Error&) {
        return kept;
    }
    std::error_code error;
    std::vector<fs::path> leftovers;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error) && IsLeftover(it->path())) leftovers.push_back(it->path());
    }
    for (const fs::path& leftover : leftovers) {
        const std::string name = drives.ToWindows(leftover);
        if (fs::remove(leftover, error)) {
            RunLog::Write("Removido o resto de uma execução interrompida: " + name);
        } else {
            kept.push_back(name);
        }
    }
    return kept;
}

}  // namespace winhost
