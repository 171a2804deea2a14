#pragma once
// modBrowseForFolder: the folder chooser as the installer uses it.

#include <string>

#include "logic/SetupPlatform.h"

namespace setup {

// The chosen folder's path ending with exactly one "\", or "" when cancelled. The chooser opens
// at the current folder.
std::string BrowseFolder(SetupPlatform& platform, WindowHandle owner, const std::string& current);

// A folder path as a target prefix: a drive root such as "C:\" already ends with
// "\" and stays as it is; any other folder gets one "\" appended. "" stays "".
std::string AsFolderPrefix(std::string folder);

}  // namespace setup
