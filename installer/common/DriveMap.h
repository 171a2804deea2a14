#pragma once
// Windows paths stay Windows paths everywhere the user can see them; only at the file system
// are they mapped to host paths. Drive C: is a host folder (the usual drive_c of a Windows
// prefix), drive Z: is the host's root.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zovlt {

class DriveMap {
  public:
    explicit DriveMap(std::filesystem::path driveC);

    // The folder given, else $WINEPREFIX/drive_c, else ~/.wine/drive_c.
    static DriveMap FromEnvironment(const std::optional<std::string>& driveC);

    // A program the installer starts learns drive C:'s folder from this variable.
    static constexpr const char* kInheritedVariable = "ZOVLT_DRIVE_C";
    // The folder the installer passed down, if any.
    static std::optional<std::string> Inherited();

    const std::filesystem::path& DriveC() const { return driveC_; }

    // "C:\a\b" -> <drive C>/a/b, "Z:\a" -> /a; the drive letter in any case; ".." resolved
    // by name and never above the drive's root.
    // Throws kvl::Error 76 (path not found) for any other drive or a path without one.
    std::filesystem::path ToHost(std::string_view windowsPath) const;

    // A host folder as a Windows path: under C: when it lies in drive C:'s folder, else
    // under Z:. No trailing backslash.
    std::string ToWindows(const std::filesystem::path& hostPath) const;

  private:
    std::filesystem::path driveC_;
};

}  // namespace zovlt
