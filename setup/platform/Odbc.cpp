#include "platform/Odbc.h"

#include <string_view>

#include "kvl/Error.h"
#include "kvl/odbc/Cursor.h"

namespace setup::odbc {

namespace {

using kvl::Handle;
using kvl::odbc::Api;
using kvl::odbc::Return;
using kvl::odbc::Succeeded;

// Throws the failure of what with its diagnostic records.
[[noreturn]] void Throw(std::string_view what, const std::vector<kvl::odbc::Diagnostic>& records) {
    std::string description(what);
    std::string_view separator = ": ";
    for (const kvl::odbc::Diagnostic& record : records) {
        description += separator;
        description += "[" + record.state + "] " + record.message;
        separator = " ";
    }
    throw kvl::Error(kCallFailed, description);
}

// Throws the diagnostics of the most specific handle given when rc is a failure.
void Check(Api& api, Return rc, std::string_view what, Handle conn, Handle stmt = 0) {
    if (!Succeeded(rc)) Throw(what, kvl::odbc::Diagnostics(api, 0, conn, stmt));
}

// A statement on the connection; every call on it is checked against its own diagnostics.
class Statement {
  public:
    explicit Statement(const Connection& connection)
        : api_(connection.api()), statement_(api_, connection.get()) {
        if (!Succeeded(statement_.status())) {
            throw kvl::Error(kCallFailed, "SQLAllocHandle failed");
        }
    }

    Api& api() const { return api_; }
    Handle get() const { return statement_.get(); }
    void Check(Return rc, std::string_view what) const { odbc::Check(api_, rc, what, 0, get()); }

  private:
    Api& api_;
    kvl::odbc::Statement statement_;
};

// Every row of the statement's result, each value read whole.
std::vector<std::vector<Value>> FetchRows(const Statement& statement, size_t columns) {
    const kvl::odbc::Cursor cursor(statement.api(), statement.get());
    std::vector<std::vector<Value>> rows;
    for (;;) {
        Return rc = 0;
        if (cursor.Fetch(rc) == kvl::odbc::Fetched::kEnd) return rows;
        statement.Check(rc, "SQLFetch");
        std::vector<Value>& row = rows.emplace_back();
        for (size_t column = 1; column <= columns; ++column) {
            std::string text;
            const kvl::odbc::ValueRead read = cursor.ReadWhole(static_cast<uint16_t>(column), text);
            statement.Check(read.rc, "reading a value");
            row.push_back(read.isNull ? Value() : Value(std::move(text)));
        }
    }
}

}  // namespace

Connection::Connection(const std::string& connectionText, std::shared_ptr<Api> api)
    : environment_(std::move(api)) {
    if (!Succeeded(environment_.status())) throw kvl::Error(kCallFailed, "SQLAllocHandle failed");
    connection_ = kvl::odbc::Connection(environment_.api(), environment_.get());
    if (!Succeeded(connection_.status())) throw kvl::Error(kCallFailed, "SQLAllocHandle failed");
    Check(environment_.api(), connection_.Connect(connectionText), "SQLDriverConnect",
          connection_.get());
}

Result Query(const Connection& connection, const std::string& command) {
    const Statement statement(connection);
    statement.Check(connection.api().ExecDirect(statement.get(), command), "SQLExecDirect");
    Result result;
    statement.Check(kvl::odbc::Cursor(connection.api(), statement.get()).Describe(result.columns),
                    "SQLDescribeCol");
    result.rows = FetchRows(statement, result.columns.size());
    return result;
}

std::vector<std::string> RowIdentifier(const Connection& connection, const std::string& table) {
    const Statement statement(connection);
    statement.Check(connection.api().SpecialColumns(statement.get(), table), "SQLSpecialColumns");
    std::vector<std::string> columns;
    // COLUMN_NAME is the result's second column.
    for (const std::vector<Value>& row : FetchRows(statement, 2)) {
        if (row[1]) columns.push_back(*row[1]);
    }
    return columns;
}

int64_t Execute(const Connection& connection, const std::string& command,
                const std::vector<kvl::odbc::Parameter>& parameters) {
    const Statement statement(connection);
    std::vector<kvl::odbc::Diagnostic> failure;
    const Return rc = connection.api().ExecuteWith(statement.get(), command, parameters, failure);
    // A command that touches no row may say so instead of succeeding.
    if (rc == kvl::odbc::kNoData) return 0;
    if (!Succeeded(rc)) Throw("SQLExecute", failure);
    int64_t changed = 0;
    statement.Check(connection.api().RowCount(statement.get(), changed), "SQLRowCount");
    return changed;
}

}  // namespace setup::odbc
