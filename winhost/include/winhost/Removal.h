#pragma once
// What a removal needs beyond deleting files: knowing beforehand whether a file can go at all,
// and clearing what a killed run left behind. Paths are Windows paths mapped through the drive
// mapping.

#include <string>
#include <vector>

#include "winhost/DriveMap.h"

namespace winhost {

// Whether the file at this path could be deleted now: its folder accepts a new entry and the
// removal of one (a read-only drive, an immutable folder or a folder without write permission
// refuses both). A missing file can always "go". Never fails and changes nothing it finds.
bool CanRemove(const DriveMap& drives, const std::string& windowsPath);

// Removes, below the folder (its subfolders included), the temporary files a killed copy left
// (".winhost-*.part"), anything a killed run kept aside (".winhost-*.keep") and the probes of
// CanRemove (".winhost-*.probe"). Returns the Windows paths it could not remove; a missing
// folder holds none.
std::vector<std::string> RemoveLeftovers(const DriveMap& drives, const std::string& windowsFolder);

}  // namespace winhost
