#pragma once
// Reading a menu customisation file (.cui, XML).

#include <filesystem>
#include <string>

#include "CadState.h"

namespace standin {

// The group is named after the file (without its extension); its menus are the Name texts of
// the PopMenu elements directly under PopMenuRoot, in file order, or one menu named after the
// group when there are none. windowsPath is what the caller gave; hostPath where it is.
// Throws std::runtime_error when the file cannot be read or is not well-formed XML.
MenuGroup ReadMenuFile(const std::string& windowsPath, const std::filesystem::path& hostPath);

}  // namespace standin
