#include "winhost/DriveMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "kvl/Text.h"
#include "winhost/Errors.h"

namespace winhost {

namespace fs = std::filesystem;

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Absolute, with links resolved as far as the path exists, without "." or ".." and without a
// trailing separator, so that folders compare by their names alone.
fs::path Resolved(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path), error);
    if (error) resolved = fs::absolute(path).lexically_normal();
    if (!resolved.has_filename() && resolved.has_relative_path()) resolved = resolved.parent_path();
    return resolved;
}

// The names after the drive letter, with "." and ".." resolved as Windows resolves them: by
// name, and never above the drive's root.
std::vector<std::string_view> NamesWithinDrive(std::string_view rest) {
    std::vector<std::string_view> names;
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find_first_of("\\/", start), rest.size());
        const std::string_view name = rest.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

// The entry of folder whose name equals name in any letter case; the first in byte order when
// several do, so the choice never depends on the order of the listing.
std::optional<std::string> NameInAnyCase(const fs::path& folder, std::string_view name) {
    const std::string sought = kvl::Minusculas(name);
    std::optional<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (kvl::Minusculas(entry) == sought && (!found || entry < *found))
            found = std::move(entry);
    }
    return found;
}

// The host path of the names under a drive's folder. Drive C: and the media are Windows file
// systems, where letter case does not tell names apart: a name that does not exist as written is
// looked up in any case, as Wine does. From the first name found in neither way on, the names
// stay as written (a file or folder about to be created).
fs::path UnderRoot(const fs::path& root, const std::vector<std::string_view>& names) {
    fs::path path = root;
    bool resolving = true;
    for (std::string_view name : names) {
        std::error_code ec;
        if (resolving && !fs::exists(fs::symlink_status(path / name, ec))) {
            std::optional<std::string> existing = NameInAnyCase(path, name);
            resolving = existing.has_value();
            path /= existing ? *existing : std::string(name);
        } else {
            path /= name;
        }
    }
    return path;
}

// The names of path below folder, "\"-separated; nothing when path does not lie in folder.
std::optional<std::string> Below(const fs::path& path, const fs::path& folder) {
    auto [folderEnd, pathAt] =
        std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    if (folderEnd != folder.end()) return std::nullopt;
    std::string names;
    for (; pathAt != path.end(); ++pathAt) {
        if (pathAt->empty()) continue;
        if (!names.empty()) names += '\\';
        names += pathAt->string();
    }
    return names;
}

}  // namespace

fs::path WinePrefix() {
    if (std::string prefix = EnvironmentValue("WINEPREFIX"); !prefix.empty()) return prefix;
    return fs::path(EnvironmentValue("HOME")) / ".wine";
}

DriveMap::DriveMap(const fs::path& driveC) : driveC_(Resolved(driveC)) {}

DriveMap DriveMap::FromEnvironment(const std::optional<fs::path>& driveC) {
    return DriveMap(driveC ? *driveC : WinePrefix() / "drive_c");
}

std::string NormalisedWindowsPath(std::string_view windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::string(windowsPath);
    std::string normalised(windowsPath.substr(0, 2));
    normalised += '\\';
    const std::vector<std::string_view> names = NamesWithinDrive(windowsPath.substr(2));
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) normalised += '\\';
        normalised += names[i];
    }
    return normalised;
}

std::optional<fs::path> DriveMap::Inherited() {
    std::string value = EnvironmentValue(kInheritedVariable);
    if (value.empty()) return std::nullopt;
    return value;
}

fs::path DriveMap::ToHost(std::string_view windowsPath) const {
    const char drive =
        windowsPath.size() < 2 || windowsPath[1] != ':'
            ? '\0'
            : static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    if (drive != 'C' && drive != 'Z') throw NamedError(kvl::kPathNotFound, windowsPath);
    return UnderRoot(drive == 'C' ? driveC_ : fs::path("/"),
                     NamesWithinDrive(windowsPath.substr(2)));
}

std::string DriveMap::ToWindows(const fs::path& hostPath) const {
    const fs::path path = Resolved(hostPath);
    if (std::optional<std::string> inC = Below(path, driveC_)) return "C:\\" + *inC;
    return "Z:\\" + *Below(path, path.root_path());
}

}  // namespace winhost
