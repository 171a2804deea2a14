#pragma once
// The user's own folders, after the XDG base-directory convention.

#include <filesystem>

namespace kvlsession {

// The folder the environment variable names (XDG_DATA_HOME, XDG_STATE_HOME, ...) when it
// holds an absolute path, else underHome in the user's home folder. Throws
// std::runtime_error when the home folder cannot be told.
std::filesystem::path UserFolder(const char* variable, const std::filesystem::path& underHome);

}  // namespace kvlsession
