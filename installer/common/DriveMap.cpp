#include "DriveMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "kvl/Error.h"

namespace zovlt {

namespace fs = std::filesystem;

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Relative parts, "/"-separated, or empty when hostPath does not lie under root.
std::optional<std::string> RelativeTo(const fs::path& hostPath, const fs::path& root) {
    fs::path relative = hostPath.lexically_relative(root);
    if (relative.empty()) return std::nullopt;
    std::string text = relative.generic_string();
    if (text == ".") return std::string();
    if (text == ".." || text.starts_with("../")) return std::nullopt;
    return text;
}

// Absolute, without "." or ".." parts and without a trailing separator, which would otherwise
// leave an empty last part that spoils the comparisons.
fs::path Normalized(const fs::path& path) {
    fs::path normal = fs::absolute(path).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return normal;
}

// The parts after the drive letter, with "." and ".." resolved as Windows resolves them: by
// name, and never above the drive's root, so no path leaves its drive's folder.
fs::path WithinDrive(std::string_view rest) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find_first_of("\\/", start), rest.size());
        const std::string_view part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    fs::path path;
    for (std::string_view part : parts) path /= part;
    return path;
}

std::string WithBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

}  // namespace

DriveMap::DriveMap(fs::path driveC) : driveC_(Normalized(driveC)) {}

DriveMap DriveMap::FromEnvironment(const std::optional<std::string>& driveC) {
    if (driveC) return DriveMap(*driveC);
    if (std::string prefix = EnvironmentValue("WINEPREFIX"); !prefix.empty())
        return DriveMap(fs::path(prefix) / "drive_c");
    return DriveMap(fs::path(EnvironmentValue("HOME")) / ".wine" / "drive_c");
}

std::optional<std::string> DriveMap::Inherited() {
    std::string value = EnvironmentValue(kInheritedVariable);
    if (value.empty()) return std::nullopt;
    return value;
}

fs::path DriveMap::ToHost(std::string_view windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') throw kvl::Error(kvl::kPathNotFound);
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    const fs::path rest = WithinDrive(windowsPath.substr(2));
    if (drive == 'C') return rest.empty() ? driveC_ : driveC_ / rest;
    if (drive == 'Z') return fs::path("/") / rest;
    throw kvl::Error(kvl::kPathNotFound);
}

std::string DriveMap::ToWindows(const fs::path& hostPath) const {
    const fs::path absolute = Normalized(hostPath);
    if (auto inC = RelativeTo(absolute, driveC_)) {
        return inC->empty() ? "C:" : "C:\\" + WithBackslashes(*inC);
    }
    const std::string text = absolute.generic_string();
    return "Z:" + (text == "/" ? std::string() : WithBackslashes(text));
}

}  // namespace zovlt
