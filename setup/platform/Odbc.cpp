#include "platform/Odbc.h"

#include <string_view>

#include "kvl/Error.h"

namespace setup::odbc {

namespace {

using kvl::Handle;
using kvl::odbc::Api;
using kvl::odbc::Return;
using kvl::odbc::Succeeded;

// The length a driver gives when it cannot tell how much of a value is left.
constexpr int64_t kNoTotal = -4;

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

// A column's value as text, read on in pieces until it ends, so no length limit applies.
Value ColumnText(const Statement& statement, uint16_t column) {
    std::string value;
    char buffer[1024];
    for (;;) {
        int64_t indicator = 0;
        const Return rc =
            statement.api().GetData(statement.get(), column, buffer, sizeof buffer, indicator);
        if (rc == kvl::odbc::kNoData) return value;
        statement.Check(rc, "SQLGetData");
        if (indicator == kvl::odbc::kNullData) return std::nullopt;
        const bool whole = indicator != kNoTotal && indicator < static_cast<int64_t>(sizeof buffer);
        value.append(buffer, whole ? static_cast<size_t>(indicator) : sizeof buffer - 1);
        if (whole) return value;
    }
}

std::vector<kvl::odbc::ColumnDescription> Columns(const Statement& statement) {
    int16_t count = 0;
    statement.Check(statement.api().NumResultCols(statement.get(), count), "SQLNumResultCols");
    std::vector<kvl::odbc::ColumnDescription> columns(count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t i = 0; i < columns.size(); ++i) {
        statement.Check(
            statement.api().DescribeCol(statement.get(), static_cast<uint16_t>(i + 1), columns[i]),
            "SQLDescribeCol");
    }
    return columns;
}

std::vector<std::vector<Value>> FetchRows(const Statement& statement, size_t columns) {
    std::vector<std::vector<Value>> rows;
    for (;;) {
        const Return rc = statement.api().Fetch(statement.get());
        if (rc == kvl::odbc::kNoData) return rows;
        statement.Check(rc, "SQLFetch");
        std::vector<Value>& row = rows.emplace_back();
        for (size_t column = 1; column <= columns; ++column) {
            row.push_back(ColumnText(statement, static_cast<uint16_t>(column)));
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
    result.columns = Columns(statement);
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
