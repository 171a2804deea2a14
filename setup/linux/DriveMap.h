#pragma once
// Windows paths on a Linux host: drive C: is a host folder (a Wine prefix's drive_c
// by default), drive Z: is the host's root, as in such a prefix.

#include <filesystem>
#include <string>
#include <string_view>

namespace setup {

class DriveMap {
  public:
    explicit DriveMap(std::filesystem::path driveC);

    // The usual drive C: folder: $WINEPREFIX/drive_c, else ~/.wine/drive_c.
    static std::filesystem::path DefaultDriveC();

    // The host path of a Windows path; error 76 for a drive other than C: and Z:
    // or a path without a drive.
    std::filesystem::path ToHost(std::string_view windowsPath) const;
    // The Windows path of a host path: under C: when it lies in drive C:'s folder,
    // else under Z:. A drive root keeps its "\" ("C:\", "Z:\").
    std::string ToWindows(const std::filesystem::path& hostPath) const;

  private:
    std::filesystem::path driveC_;
};

}  // namespace setup
