#pragma once
// The package's four components and how each is described to the user.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

struct Component {
    std::string_view label;        // item of tvOptions
    std::string_view fileName;     // in the staging folder and in the target folder
    std::string_view description;  // first part of the information text
    int lineBreaks;                // CR LF between description and size line
};

inline constexpr size_t kComponentCount = 4;
inline constexpr size_t kWarehouse = 0;
inline constexpr size_t kSymbology = 1;
inline constexpr size_t kLibrary = 2;
inline constexpr size_t kDocumentation = 3;

// In list order, which is also the order of measuring and copying.
extern const std::array<Component, kComponentCount> kComponents;

// The component whose label is exactly label; kComponentCount when none is.
size_t ComponentByLabel(std::string_view label);

// Bytes as megabytes with two decimals and the given separator, then "MB".
std::string SizeText(std::uintmax_t bytes, std::string_view decimalSeparator);

// Description, its line breaks, then the size line.
std::string InfoText(const Component& component, std::string_view sizeText);

}  // namespace setup
