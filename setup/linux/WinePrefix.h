#pragma once
// Where Windows programs on this host keep their drive C: and registry.

#include <cstdlib>
#include <filesystem>

namespace setup {

// $WINEPREFIX, else ~/.wine.
inline std::filesystem::path WinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".wine";
}

}  // namespace setup
