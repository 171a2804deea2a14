#include "DriveMap.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "WinePrefix.h"
#include "kvl/Error.h"

namespace fs = std::filesystem;

namespace setup {

namespace {

// Absolute, with links resolved where they exist and no trailing separator.
fs::path Absolute(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::weakly_canonical(fs::absolute(path), error);
    if (error) absolute = fs::absolute(path).lexically_normal();
    if (absolute.filename().empty() && absolute != absolute.root_path()) {
        absolute = absolute.parent_path();
    }
    return absolute;
}

// The part of path below folder, or nothing when path does not lie in folder.
std::optional<fs::path> Below(const fs::path& path, const fs::path& folder) {
    auto [folderEnd, pathAt] =
        std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    if (folderEnd != folder.end()) return std::nullopt;
    fs::path rest;
    for (; pathAt != path.end(); ++pathAt) {
        if (!pathAt->empty()) rest /= *pathAt;
    }
    return rest;
}

std::string WithBackslashes(const fs::path& relative) {
    std::string text;
    for (const fs::path& part : relative) {
        if (!text.empty()) text += '\\';
        text += part.string();
    }
    return text;
}

}  // namespace

DriveMap::DriveMap(fs::path driveC) : driveC_(Absolute(driveC)) {}

fs::path DriveMap::DefaultDriveC() {
    return WinePrefix() / "drive_c";
}

fs::path DriveMap::ToHost(std::string_view windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') throw kvl::Error(kvl::kPathNotFound);
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    if (drive != 'C' && drive != 'Z') throw kvl::Error(kvl::kPathNotFound);
    std::string rest(windowsPath.substr(2));
    for (char& c : rest) {
        if (c == '\\') c = '/';
    }
    while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    const fs::path root = drive == 'C' ? driveC_ : fs::path("/");
    return rest.empty() ? root : root / rest;
}

std::string DriveMap::ToWindows(const fs::path& hostPath) const {
    const fs::path path = Absolute(hostPath);
    if (std::optional<fs::path> inC = Below(path, driveC_)) {
        return "C:\\" + WithBackslashes(*inC);
    }
    return "Z:\\" + WithBackslashes(path.relative_path());
}

}  // namespace setup
