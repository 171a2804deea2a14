#pragma once
// The columns of the typed reading: what a column's values are typed as (from the SQL type
// the driver reports, corrected by the declared type's name), and how they are bound.

#include <cstdint>
#include <string_view>

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

// Every value is bound as text (bytes for kBytes) and typed by the library (TypedText.h):
// exactly, and cheaper than the drivers' own conversions, which start from the same text
// (the SQLite driver's date conversion costs more than reading the whole row, and
// psqlODBC's needs the ISO date style that its text then has anyway).
odbc::ColumnPlan PlanOf(const TypedColumn& column);

}  // namespace kvl
