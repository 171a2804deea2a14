#pragma once
// A thin layer over the ODBC driver manager: handles freed exactly once, failures
// turned into errors, result rows read as text.

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup::odbc {

// Every failure of the driver, with the driver's own diagnostic as the description.
inline constexpr int32_t kCallFailed = 3146;

class Handle {
  public:
    Handle(SQLSMALLINT type, SQLHANDLE parent);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    // Throws the first diagnostic of this handle when result is a failure.
    void Check(SQLRETURN result, std::string_view what) const;

  private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// One connection, with an environment of its own.
class Connection {
  public:
    explicit Connection(const std::string& connectionText);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    SQLHDBC get() const { return dbc_.get(); }

  private:
    Handle env_;
    Handle dbc_;
};

using Value = std::optional<std::string>;  // nothing for NULL
struct Result {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
};

// Runs a query and reads all its rows.
Result Query(const Connection& connection, const std::string& command);
// The columns that identify a row of a table, as the driver reports them.
std::vector<std::string> RowIdentifier(const Connection& connection, const std::string& table);
// Runs a command with text parameters; returns the number of rows it changed.
SQLLEN Execute(const Connection& connection, const std::string& command,
               const std::vector<Value>& parameters);

}  // namespace setup::odbc
