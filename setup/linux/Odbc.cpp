#include "Odbc.h"

#include "kvl/Error.h"

namespace setup::odbc {

namespace {

SQLCHAR* Text(const std::string& text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

// A column's value as text, read in pieces so no length limit applies.
Value ColumnText(const Handle& statement, SQLUSMALLINT column) {
    std::string value;
    char buffer[1024];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN result =
            SQLGetData(statement.get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        if (result == SQL_NO_DATA) return value;
        statement.Check(result, "SQLGetData");
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        const bool whole =
            indicator != SQL_NO_TOTAL && indicator < static_cast<SQLLEN>(sizeof buffer);
        value.append(buffer, whole ? static_cast<size_t>(indicator) : sizeof buffer - 1);
        if (whole) return value;
    }
}

std::vector<std::string> ColumnNames(const Handle& statement) {
    SQLSMALLINT count = 0;
    statement.Check(SQLNumResultCols(statement.get(), &count), "SQLNumResultCols");
    std::vector<std::string> names;
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        SQLCHAR name[256];
        SQLSMALLINT length = 0;
        statement.Check(SQLDescribeCol(statement.get(), column, name, sizeof name, &length, nullptr,
                                       nullptr, nullptr, nullptr),
                        "SQLDescribeCol");
        names.emplace_back(reinterpret_cast<char*>(name));
    }
    return names;
}

std::vector<std::vector<Value>> FetchRows(const Handle& statement, size_t columns) {
    std::vector<std::vector<Value>> rows;
    for (;;) {
        const SQLRETURN result = SQLFetch(statement.get());
        if (result == SQL_NO_DATA) return rows;
        statement.Check(result, "SQLFetch");
        std::vector<Value>& row = rows.emplace_back();
        for (size_t column = 1; column <= columns; ++column) {
            row.push_back(ColumnText(statement, static_cast<SQLUSMALLINT>(column)));
        }
    }
}

// The environment, declared ODBC 3 as it must be before any connection is made.
const Handle& Odbc3(const Handle& env) {
    env.Check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              "SQLSetEnvAttr");
    return env;
}

}  // namespace

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
        handle_ = SQL_NULL_HANDLE;
        throw kvl::Error(kCallFailed, "SQLAllocHandle failed");
    }
}

Handle::~Handle() {
    SQLFreeHandle(type_, handle_);
}

void Handle::Check(SQLRETURN result, std::string_view what) const {
    if (SQL_SUCCEEDED(result)) return;
    SQLCHAR state[6] = {};
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::string description(what);
    if (SQL_SUCCEEDED(
            SQLGetDiagRec(type_, handle_, 1, state, &native, message, sizeof message, &length))) {
        description += ": [" + std::string(reinterpret_cast<char*>(state)) + "] " +
                       reinterpret_cast<char*>(message);
    }
    throw kvl::Error(kCallFailed, description);
}

Connection::Connection(const std::string& connectionText)
    : env_(SQL_HANDLE_ENV, SQL_NULL_HANDLE), dbc_(SQL_HANDLE_DBC, Odbc3(env_).get()) {
    dbc_.Check(SQLDriverConnect(dbc_.get(), nullptr, Text(connectionText), SQL_NTS, nullptr, 0,
                                nullptr, SQL_DRIVER_NOPROMPT),
               "SQLDriverConnect");
}

Connection::~Connection() {
    SQLDisconnect(dbc_.get());
}

Result Query(const Connection& connection, const std::string& command) {
    Handle statement(SQL_HANDLE_STMT, connection.get());
    statement.Check(SQLExecDirect(statement.get(), Text(command), SQL_NTS), "SQLExecDirect");
    Result result;
    result.columns = ColumnNames(statement);
    result.rows = FetchRows(statement, result.columns.size());
    return result;
}

std::vector<std::string> RowIdentifier(const Connection& connection, const std::string& table) {
    Handle statement(SQL_HANDLE_STMT, connection.get());
    statement.Check(SQLSpecialColumns(statement.get(), SQL_BEST_ROWID, nullptr, 0, nullptr, 0,
                                      Text(table), SQL_NTS, SQL_SCOPE_SESSION, SQL_NULLABLE),
                    "SQLSpecialColumns");
    std::vector<std::string> columns;
    // COLUMN_NAME is the result's second column.
    for (const std::vector<Value>& row : FetchRows(statement, 2)) {
        if (row[1]) columns.push_back(*row[1]);
    }
    return columns;
}

SQLLEN Execute(const Connection& connection, const std::string& command,
               const std::vector<Value>& parameters) {
    Handle statement(SQL_HANDLE_STMT, connection.get());
    statement.Check(SQLPrepare(statement.get(), Text(command), SQL_NTS), "SQLPrepare");
    // The bound buffers must stay put until SQLExecute has read them.
    std::vector<SQLLEN> lengths(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) {
        const Value& value = parameters[i];
        lengths[i] = value ? static_cast<SQLLEN>(value->size()) : SQL_NULL_DATA;
        const SQLULEN size = value && !value->empty() ? value->size() : 1;
        statement.Check(
            SQLBindParameter(statement.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                             SQL_C_CHAR, SQL_VARCHAR, size, 0,
                             value ? const_cast<char*>(value->data()) : nullptr, 0, &lengths[i]),
            "SQLBindParameter");
    }
    statement.Check(SQLExecute(statement.get()), "SQLExecute");
    SQLLEN changed = 0;
    statement.Check(SQLRowCount(statement.get(), &changed), "SQLRowCount");
    return changed;
}

}  // namespace setup::odbc
