#pragma once
// Windows paths stay Windows paths everywhere the user can see them; only at the file system
// are they mapped to host paths. Drive C: is a host folder (the drive_c of a Windows prefix by
// default), drive Z: is the host's root, as in such a prefix.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace winhost {

// $WINEPREFIX, else ~/.wine: where Windows programs on this host keep drive C: and registry.
std::filesystem::path WinePrefix();

// "C:\a\..\b\.\c" as "C:\b\c": "\" between names, "." and ".." resolved by name and never
// above the drive's root, as the folder chooser writes a folder. A text without a drive letter
// is given back as it is.
std::string NormalisedWindowsPath(std::string_view windowsPath);

class DriveMap {
  public:
    explicit DriveMap(const std::filesystem::path& driveC);

    // The folder given, else $WINEPREFIX/drive_c, else ~/.wine/drive_c.
    static DriveMap FromEnvironment(const std::optional<std::filesystem::path>& driveC);

    // A program started by one of the installers learns drive C:'s folder from this variable.
    static constexpr const char* kInheritedVariable = "WINHOST_DRIVE_C";
    // The folder passed down that way, if any.
    static std::optional<std::filesystem::path> Inherited();

    // Absolute, with links resolved.
    const std::filesystem::path& DriveC() const { return driveC_; }

    // "C:\a\b" -> <drive C>/a/b, "Z:\a" -> /a. The drive letter in any case, "\" or "/"
    // between names, "." and ".." resolved by name and never above the drive's root, so no
    // path leaves its drive's folder. Each name that does not exist as written is found in any
    // letter case, as on a Windows file system. Throws kvl::Error 76 (path not found), naming
    // the path, for any other drive and for a path without one.
    std::filesystem::path ToHost(std::string_view windowsPath) const;

    // A host path as a Windows path: under C: when it lies in drive C:'s folder, else under
    // Z:. No trailing "\" except on a drive's root, written "C:\" or "Z:\" as Windows does.
    std::string ToWindows(const std::filesystem::path& hostPath) const;

  private:
    std::filesystem::path driveC_;
};

}  // namespace winhost
