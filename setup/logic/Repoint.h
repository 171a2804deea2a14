#pragma once
// Points the installed symbol library at the installed symbology file and warehouse.

#include <string>
#include <string_view>

#include "logic/SymbolLibrary.h"

namespace setup {

inline constexpr std::string_view kSourceCommand =
    "Select * From StyleProperties Where Name='Source'";
inline constexpr std::string_view kConnectionsCommand = "Select * From Connections";

// The new value of a style property naming a symbology file: the installed file,
// then the old value's second ";"-separated field (empty when it has none).
std::string RepointedPropertyValue(std::string_view oldValue, std::string_view symbologyFile);

// Rewrites every "Source" property that names a symbology file (".fsm" in any
// letter case) and the location of the first connection.
void RepointLibrary(SymbolLibrary& library, const std::string& symbologyFile,
                    const std::string& warehouseFile);

}  // namespace setup
