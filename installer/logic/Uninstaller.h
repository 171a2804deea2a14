#pragma once
// Removal of what the installation added, after the user confirms it: the files it copied from
// the medium (and the folders it made, once empty), the library's registration, the install
// folder's entry in the CAD application's support path, and the menu group ZOV_LT with its
// menu. Everything else stays as it was, and a second removal finds nothing more to do.
// Nothing changes unless every installed file can go; the removal fails when any remains.

#include <string>
#include <string_view>
#include <vector>

#include "logic/Sequence.h"

namespace zovlt {

class Uninstaller : private Sequence {
  public:
    // programFolder: the Windows path of the folder that holds the program, no trailing "\".
    Uninstaller(InstallView& view, InstallPlatform& platform, std::string programFolder);

    // Asks for confirmation (Yes/No, No the default), then removes stage by stage.
    Outcome Run();

  private:
    // The installed files still there: the medium's files at their destinations, the library.
    std::vector<std::string> InstalledFiles();
    void CheckRemovable(const std::vector<std::string>& installed);
    void RemoveLeftovers();
    void CheckNothingRemains();
    void RemoveSupportEntry();
    void RemoveMenuGroups();
    void RemoveFiles(std::string_view sourceFolder, std::string_view destination);
    void RemoveLibrary();
    void RemoveFolders();

    std::vector<std::string> leftovers_;  // those that could not be removed
};

}  // namespace zovlt
