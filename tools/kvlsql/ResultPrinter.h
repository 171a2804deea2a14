#pragma once
// Printing what the library hands back: the result sets of a command and the SQL log.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "Messages.h"
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
    // tell: where a failure to read is told; interrupted, when given, tells whether Ctrl-C
    // stopped the reading.
    ResultPrinter(std::ostream& out, std::ostream& err, Messages& tell,
                  const OutputSettings& settings, std::function<bool()> interrupted = {})
        : out_(out),
          err_(err),
          tell_(tell),
          settings_(settings),
          interrupted_(std::move(interrupted)) {}

    // Prints every result set of r in turn as the settings lay it out, its values typed (NULL
    // apart from the empty text, numbers right-aligned by their column's SQL type), each
    // followed (aligned or unaligned, and not rows only) by "(N rows)", or "(N rows
    // affected)" for one without columns. A result set whose reading failed or was
    // interrupted is not taken for the end of its rows: the rows read so far are printed,
    // the failure is told, err says the result is cut short, and the answer is false.
    bool Print(kvl::kvlRES& r);

  private:
    bool PrintResultSet(kvl::kvlRES& r);
    void Read(kvl::kvlRES& r, Table& t, bool& cut);

    std::ostream& out_;
    std::ostream& err_;
    Messages& tell_;
    const OutputSettings& settings_;
    std::function<bool()> interrupted_;
};

// Prints the session's SQL log, entry 1 to the last, one entry a line.
void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s);

}  // namespace kvlsql
