#pragma once

#include <string_view>

namespace winhost {

// Windows file-name matching: "*" any run, "?" one character, letters in any case, and a
// pattern ending in ".*" also matches names without a dot ("*.*" matches every name).
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace winhost
