#pragma once
// The symbol library's use of ODBC, through the library's seam to the driver manager: handles
// that free themselves, failures turned into errors, values read whole as text.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/odbc/Api.h"
#include "kvl/odbc/Handles.h"

namespace setup::odbc {

// Every failure of the driver, with the driver's own diagnostics as the description.
inline constexpr int32_t kCallFailed = 3146;

// One connection, with an environment of its own.
class Connection {
  public:
    // Connects with a full connection text, on this machine's driver manager unless another
    // is given (tests script faults with one).
    explicit Connection(const std::string& connectionText,
                        std::shared_ptr<kvl::odbc::Api> api = kvl::odbc::UnixOdbc());

    kvl::odbc::Api& api() const { return environment_.api(); }
    kvl::Handle get() const { return connection_.get(); }

  private:
    kvl::odbc::Environment environment_;
    kvl::odbc::Connection connection_;  // after the environment, so it goes first
};

using Value = std::optional<std::string>;  // nothing for NULL
struct Result {
    std::vector<kvl::odbc::ColumnDescription> columns;
    std::vector<std::vector<Value>> rows;
};

// Runs a query and reads all its rows.
Result Query(const Connection& connection, const std::string& command);
// The columns that identify a row of a table, as the driver reports them.
std::vector<std::string> RowIdentifier(const Connection& connection, const std::string& table);
// Runs a command with parameters; returns the number of rows it changed.
int64_t Execute(const Connection& connection, const std::string& command,
                const std::vector<kvl::odbc::Parameter>& parameters = {});

}  // namespace setup::odbc
