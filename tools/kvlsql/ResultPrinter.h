#pragma once
// Printing what the library hands back: the result sets of a command and the SQL log.

#include <cstdint>
#include <ostream>
#include <string>

namespace kvl {
class kvlRES;
class kvlSERV;
}  // namespace kvl

namespace kvlsql {

// "1 row", "N rows".
std::string Rows(int64_t n);

// Prints every result set of r in turn, each as a table followed by "(N rows)", or
// "(N rows affected)" for one without columns. A result set whose reading failed (its
// erro set) is not taken for the end of its rows: the rows read so far are printed,
// err says the result is cut short, and the answer is false.
bool PrintResults(std::ostream& out, std::ostream& err, kvl::kvlRES& r);

// Prints the session's SQL log, entry 1 to the last, one entry a line.
void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s);

}  // namespace kvlsql
