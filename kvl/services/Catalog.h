#pragma once
// The catalog queries: how a table name splits into a catalog prefix and a bare name, and
// the text of the queries in both dialect forms.

#include <optional>
#include <string>
#include <string_view>

#include "Runner.h"
#include "kvl/kvlSERV.h"

namespace kvl::services {

struct TableName {
    std::string prefix;  // put in front of both catalog tables ("db1.dbo.", "geo.")
    std::string name;    // compared with the objects' names
};

// "db.dbo.table" (".dbo." in any case) in every dialect but ORACLE8, where "owner.table"
// splits at its first point. Without one the whole name is the bare name.
KVL_API TableName SplitTableName(std::string_view table, tqConecçaoTipo dialect);

// The query of the catalog rows (field name, type code, length, precision, scale, table id,
// table name) of table, or of every table when table is null; with field, of that field
// only. It starts with a blank, to follow the client's pending text.
KVL_API std::string CatalogQuery(const kvlSERV& s, const Runner& run, const TableName* table,
                                 std::optional<std::string_view> field = std::nullopt);

}  // namespace kvl::services
