#pragma once
// The command line of symbology-setup.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "../linux/LinuxPlatform.h"

namespace setup {

// Overrides the connection text of the symbol library, as --library-connection does.
inline constexpr const char* kLibraryConnectionVariable = "SYMBOLOGY_LIBRARY_CONNECTION";

struct Options {
    bool help = false;
    bool unattended = false;
    std::optional<std::filesystem::path> driveC;
    std::optional<std::filesystem::path> registry;
    std::optional<std::filesystem::path> staging;
    std::optional<std::string> libraryConnection;
    // Component index (0-based) and the Windows folder chosen for it, in given order.
    std::vector<std::pair<size_t, std::string>> targets;
};

class UsageError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// The arguments after the program's name; UsageError for anything not understood.
Options ParseOptions(const std::vector<std::string>& arguments);

// What --help prints.
std::string UsageText();

// The platform's settings: the options, else the environment, else the defaults.
LinuxPlatformOptions PlatformOptions(const Options& options);

}  // namespace setup
