#pragma once
// How many terminal columns a text takes, so tables line up whatever script their values
// are in.

#include <cstddef>
#include <string_view>

namespace kvlsql {

// The columns a UTF-8 text takes on a terminal: two for East Asian wide characters and
// most emoji, none for combining marks and other zero-width characters, one for the rest
// (a byte that is no part of a UTF-8 character included).
size_t DisplayWidth(std::string_view text);

}  // namespace kvlsql
