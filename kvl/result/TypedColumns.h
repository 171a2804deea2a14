#pragma once
// The columns of the typed reading: what a column's values are typed as (from the SQL type
// the driver reports, corrected by the declared type's name), how its values are bound,
// and the conversion of what the driver gives into the typed value.

#include <cstdint>
#include <string_view>

#include "kvl/TypedValue.h"
#include "kvl/odbc/Api.h"
#include "kvl/odbc/BlockCursor.h"

namespace kvl {

enum class Kind : uint8_t {
    kInteger,
    kReal,
    kDecimal,
    kBool,
    kText,
    kBytes,
    kDate,
    kTime,
    kTimestamp,
};

struct TypedColumn {
    // As the driver describes it, but with the SQL type the values are typed by.
    odbc::ColumnDescription description;
    Kind kind = Kind::kText;
};

TypedColumn Classify(odbc::ColumnDescription description, std::string_view typeName);

// Numbers, booleans, decimals and times are bound as text and converted here: exact, and
// cheaper than the drivers' own conversions, which start from the same text. Dates and
// timestamps are bound as the driver's structures, whatever the server's date style.
odbc::ColumnPlan PlanOf(const TypedColumn& column);

// The value the block holds for a column of this kind.
void FromBlock(Kind kind, const odbc::BlockValue& value, TypedValue& out);
// A value read whole: text, or bytes for kBytes. A text that is not a value of the kind
// arrives as text.
void FromText(Kind kind, std::string_view text, TypedValue& out);

}  // namespace kvl
