#pragma once
// The fields of a table as the library describes them (its field-property cache), laid
// out as a table for the \d command.

#include "TableFormat.h"
#include "kvl/Variant.h"

namespace kvlsql {

// One row per field of a properties array (properties 1 to 13, fields 1 to n): its name,
// type code and name, size, digits, bounds (numeric fields only), width and format.
Table FieldTable(const kvl::Variant& properties);

}  // namespace kvlsql
