#pragma once
// Printing what the library hands back: the result sets of a command and the SQL log.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "TableFormat.h"

namespace kvl {
class kvlRES;
class kvlSERV;
}  // namespace kvl

namespace kvlsql {

// "1 row", "N rows".
std::string Rows(int64_t n);

// "(text)" on a line of its own after a table, and a blank line when aligned; nothing
// for CSV or rows only.
void PrintFooter(std::ostream& out, const OutputSettings& settings, const std::string& text);

class ResultPrinter {
  public:
    // interrupted, when given, tells whether Ctrl-C stopped the reading.
    ResultPrinter(std::ostream& out, std::ostream& err, const OutputSettings& settings,
                  std::function<bool()> interrupted = {})
        : out_(out), err_(err), settings_(settings), interrupted_(std::move(interrupted)) {}

    // Prints every result set of r in turn as the settings lay it out, each followed
    // (aligned or unaligned, and not rows only) by "(N rows)", or "(N rows affected)" for
    // one without columns. A result set whose reading failed (its erro set) or was
    // interrupted is not taken for the end of its rows: the rows read so far are printed,
    // err says the result is cut short, and the answer is false.
    bool Print(kvl::kvlRES& r);

  private:
    bool PrintResultSet(kvl::kvlRES& r);
    Table Read(kvl::kvlRES& r, bool& cut);

    std::ostream& out_;
    std::ostream& err_;
    const OutputSettings& settings_;
    std::function<bool()> interrupted_;
};

// Prints the session's SQL log, entry 1 to the last, one entry a line.
void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s);

}  // namespace kvlsql
