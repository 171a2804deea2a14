#include "PlainOdbc.h"

#include <stdexcept>

namespace kvlbench {

PlainConnection::PlainConnection(const std::string& text) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    std::string t = text;
    SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(t.data()), SQL_NTS,
                                    nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) throw std::runtime_error("cannot connect");
    connected_ = true;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_);
    // Commands never time out, as on the library's statements.
    SQLSetStmtAttr(stmt_, SQL_ATTR_QUERY_TIMEOUT, nullptr, 0);
}

PlainConnection::~PlainConnection() {
    if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

bool PlainConnection::Execute(const std::string& query) {
    std::string q = query;
    if (!SQL_SUCCEEDED(SQLExecDirect(stmt_, reinterpret_cast<SQLCHAR*>(q.data()), SQL_NTS)))
        return false;
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt_, &columns);
    buffers_.resize(static_cast<size_t>(columns));
    for (SQLUSMALLINT n = 1; n <= columns; ++n) {
        SQLLEN display = 0;
        SQLColAttribute(stmt_, n, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &display);
        buffers_[n - 1].resize(static_cast<size_t>(display > 0 ? display : 0) + 1);
    }
    return true;
}

std::string_view PlainConnection::Value(SQLUSMALLINT n, bool& isNull) {
    std::vector<char>& b = buffers_[n - 1];
    SQLLEN indicator = 0;
    SQLRETURN rc =
        SQLGetData(stmt_, n, SQL_C_CHAR, b.data(), static_cast<SQLLEN>(b.size()), &indicator);
    isNull = SQL_SUCCEEDED(rc) && indicator == SQL_NULL_DATA;
    if (!SQL_SUCCEEDED(rc) || isNull) return {};
    auto room = static_cast<SQLLEN>(b.size()) - 1;
    if (rc == SQL_SUCCESS || (indicator != SQL_NO_TOTAL && indicator <= room))
        return {b.data(), static_cast<size_t>(indicator)};
    long_.assign(b.data(), static_cast<size_t>(room));
    do {
        rc = SQLGetData(stmt_, n, SQL_C_CHAR, b.data(), static_cast<SQLLEN>(b.size()), &indicator);
        if (!SQL_SUCCEEDED(rc)) break;
        bool whole = indicator != SQL_NO_TOTAL && indicator <= room;
        long_.append(b.data(), whole ? static_cast<size_t>(indicator) : static_cast<size_t>(room));
    } while (rc == SQL_SUCCESS_WITH_INFO);
    return long_;
}

}  // namespace kvlbench
