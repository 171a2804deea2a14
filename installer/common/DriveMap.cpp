#include "DriveMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

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
    std::string rest(windowsPath.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    while (rest.starts_with('/')) rest.erase(0, 1);
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
