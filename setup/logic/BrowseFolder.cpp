#include "logic/BrowseFolder.h"

namespace setup {

std::string AsFolderPrefix(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string BrowseFolder(SetupPlatform& platform, WindowHandle owner) {
    std::optional<std::string> chosen = platform.ChooseFolder(owner);
    return chosen ? AsFolderPrefix(*chosen) : std::string();
}

}  // namespace setup
