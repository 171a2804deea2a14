#pragma once
// A typed value as kvlsql shows it.

#include <cstdint>
#include <optional>
#include <string>

#include "kvl/TypedValue.h"

namespace kvlsql {

// The value's text: numbers as the shortest text that reads back the same, decimals with
// the server's digits, dates and times in ISO form (fractions of a second without trailing
// zeros), bytes as \x and hexadecimal digits, Booleans as true or false; nothing for NULL.
std::optional<std::string> ValueText(const kvl::TypedValue& value);

// Whether values of the SQL type are numbers, which line up on their last digit.
bool IsNumberType(int16_t sqlType);

}  // namespace kvlsql
