#pragma once
// The backslash commands that read the database's catalog: \d and \dt list the tables
// (and views), \d NAME describes the fields of one.

#include <string>

namespace kvlsql {

class Runner;

// Lists the tables and views (or the tables only) with their schema: from the standard
// information_schema, or from SQLite's own catalog where there is none. False when neither
// could be read.
bool ListTables(Runner& runner, bool tablesOnly);

// The fields of table as the library's field-property cache holds them, the catalog read
// on the first use of the table in the session. False when the catalog has no such table
// or cannot be read.
bool DescribeTable(Runner& runner, const std::string& table);

}  // namespace kvlsql
