#pragma once
// A value of the typed reading from the text (or, for bytes, the bytes) the driver gives.

#include <string_view>

#include "TypedColumns.h"
#include "kvl/TypedValue.h"

namespace kvl {

// Sets out to the value of text as a value of kind, keeping the storage out held where it
// was of the same type. Numbers, booleans and decimals are read in plain decimal notation;
// dates, times and timestamps in ISO form (YYYY-MM-DD, HH:MM[:SS[.fraction]], a timestamp's
// time after a blank or a T, and its zone left out). A text that is not a value of the kind
// arrives as text.
void FromText(Kind kind, std::string_view text, TypedValue& out);

}  // namespace kvl
