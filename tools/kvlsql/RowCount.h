#pragma once
// --count: the rows a query is to give, counted by the database before the query runs.

#include <optional>
#include <string>

namespace kvlsql {

// The statement that counts the rows of sql: sql whole inside a subquery, when it is one
// statement beginning with SELECT; nothing for anything else (several statements, a
// command that changes data), whose rewriting could change what it does.
std::optional<std::string> CountStatement(const std::string& sql);

}  // namespace kvlsql
