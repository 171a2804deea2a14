#include "logic/BrowseFolder.h"

namespace setup {

std::string AsFolderPrefix(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string BrowseFolder(SetupPlatform& platform, WindowHandle owner, const std::string& current) {
    std::optional<std::string> chosen = platform.ChooseFolder(owner, current);
    return chosen ? AsFolderPrefix(*chosen) : std::string();
}

}  // namespace setup
