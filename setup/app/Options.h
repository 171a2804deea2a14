#pragma once
// The command line of symbology-setup.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/LinuxPlatform.h"
#include "winhost/CommandLine.h"

namespace setup {

inline constexpr std::string_view kProgramName = "symbology-setup";

// Overrides the connection text of the symbol library, as --library-connection does.
inline constexpr const char* kLibraryConnectionVariable = "SYMBOLOGY_LIBRARY_CONNECTION";

struct Options {
    winhost::HostOptions host;
    std::optional<std::filesystem::path> registry;
    std::optional<std::filesystem::path> staging;
    std::optional<std::string> libraryConnection;
    bool uninstall = false;
    // Component index (0-based) and the folder given for it (a Windows folder on C: or Z:, or
    // an absolute host folder), in given order.
    std::vector<std::pair<size_t, std::string>> targets;
};

// The arguments after the program's name; winhost::UsageError for anything not understood.
Options ParseOptions(const std::vector<std::string>& arguments);

// What --help prints.
std::string UsageText();

// A folder of --target as the folder chooser gives it: a host folder as a Windows path.
std::string TargetFolder(const std::string& given, const winhost::DriveMap& drives);

// The platform's settings: the options, else the environment, else the defaults.
LinuxPlatformOptions PlatformOptions(const Options& options);

}  // namespace setup
