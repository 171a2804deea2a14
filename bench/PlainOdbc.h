#pragma once
// What a program written straight on the driver manager does, as the yardstick of the
// library's reading: one connection and one statement, each column read with
// SQLGetData(SQL_C_CHAR) into a buffer sized from its display size, and a value longer
// than that read on, so it too reads every value whole.

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>
#include <vector>

namespace kvlbench {

class PlainConnection {
  public:
    explicit PlainConnection(const std::string& text);
    ~PlainConnection();
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    // Runs a query and describes its columns; false when it failed.
    bool Execute(const std::string& query);
    bool Fetch() { return SQL_SUCCEEDED(SQLFetch(stmt_)); }
    // Column n (from 1) of the row fetched last, and whether it is NULL; valid until the
    // next call.
    std::string_view Value(SQLUSMALLINT n, bool& isNull);
    SQLSMALLINT Columns() const { return static_cast<SQLSMALLINT>(buffers_.size()); }
    void Close() { SQLFreeStmt(stmt_, SQL_CLOSE); }
    // The statement, for readers that fetch from it their own way.
    SQLHSTMT statement() const { return stmt_; }

  private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    bool connected_ = false;
    std::vector<std::vector<char>> buffers_;
    std::string long_;  // a value longer than its buffer
};

}  // namespace kvlbench
