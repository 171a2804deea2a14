#pragma once
// The plain loop in blocks, the yardstick of the typed reading: what a program written
// straight on the driver manager does to read fast. Every column is bound as text
// (SQL_C_CHAR, room for its display size) and a fetch gives up to 1,000 rows.

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>
#include <vector>

#include "PlainOdbc.h"

namespace kvlbench {

class BlockReader {
  public:
    static constexpr SQLULEN kRows = 1000;

    // Reads through the connection's statement.
    explicit BlockReader(PlainConnection& connection) : stmt_(connection.statement()) {}
    ~BlockReader() { Close(); }
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Runs a query and binds its columns; false when it failed.
    bool Execute(const std::string& query);
    // The next block; 0 rows at the end.
    SQLULEN Fetch();
    // Column n (from 1) of row (from 0) of the block; NULL reads as empty.
    std::string_view Value(SQLULEN row, SQLUSMALLINT n) const;
    SQLSMALLINT Columns() const { return static_cast<SQLSMALLINT>(columns_.size()); }
    // Closes the cursor and leaves the statement unbound, one row per fetch.
    void Close();

  private:
    struct Column {
        SQLLEN width = 0;
        std::vector<char> data;
        std::vector<SQLLEN> lengths;
    };
    SQLHSTMT stmt_;
    std::vector<Column> columns_;
    SQLULEN fetched_ = 0;
};

}  // namespace kvlbench
