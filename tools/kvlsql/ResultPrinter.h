#pragma once
// Printing what the library hands back: the result sets of a command and the SQL log.

#include <ostream>

namespace kvl {
class kvlRES;
class kvlSERV;
}  // namespace kvl

namespace kvlsql {

// Prints every result set of r in turn, each as a table followed by "(N rows)", or
// "(N rows affected)" for one without columns.
void PrintResults(std::ostream& out, kvl::kvlRES& r);

// Prints the session's SQL log, entry 1 to the last, one entry a line.
void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s);

}  // namespace kvlsql
