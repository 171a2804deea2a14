#include "logic/BrowseFolder.h"

#include <algorithm>
#include <vector>

namespace setup {

std::string AsFolderPrefix(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string NormalisedPath(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return std::string(path);
    std::vector<std::string_view> names;
    const std::string_view rest = path.substr(2);
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
    std::string normalised(path.substr(0, 2));
    normalised += '\\';
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) normalised += '\\';
        normalised += names[i];
    }
    return normalised;
}

std::string BrowseFolder(SetupPlatform& platform, WindowHandle owner, const std::string& current) {
    std::optional<std::string> chosen = platform.ChooseFolder(owner, current);
    return chosen ? AsFolderPrefix(*chosen) : std::string();
}

}  // namespace setup
