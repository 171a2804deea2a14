#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include "kvl/odbc/Api.h"

namespace kvl::odbc {

namespace {

// The seam's names for ODBC's numbers and structures, checked against the driver manager's.
static_assert(sizeof(SQLLEN) == sizeof(int64_t) && sizeof(SQLULEN) == sizeof(uint64_t));
static_assert(kColumnTypeName == SQL_DESC_TYPE_NAME &&
              kInfoGetDataExtensions == SQL_GETDATA_EXTENSIONS);
static_assert(kGetDataAnyColumn == SQL_GD_ANY_COLUMN && kGetDataBlock == SQL_GD_BLOCK &&
              kGetDataBound == SQL_GD_BOUND);
static_assert(kAttrRowStatusPtr == SQL_ATTR_ROW_STATUS_PTR &&
              kAttrRowsFetchedPtr == SQL_ATTR_ROWS_FETCHED_PTR &&
              kAttrRowArraySize == SQL_ATTR_ROW_ARRAY_SIZE);
static_assert(kRowError == SQL_ROW_ERROR);

// The driver manager writes process-wide state without a lock of its own while it makes and
// frees an environment (seen under the thread sanitizer: two sessions opening at once on two
// threads). Environments are made once per open, so one lock around both costs nothing.
std::mutex& EnvironmentLock() {
    static std::mutex lock;
    return lock;
}

SQLHANDLE H(Handle h) {
    return reinterpret_cast<SQLHANDLE>(h);
}
Handle K(SQLHANDLE h) {
    return reinterpret_cast<Handle>(h);
}
SQLCHAR* Text(std::string_view s) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.data()));
}

// A new handle of the given type, 0 when the allocation fails.
Return Allocate(SQLSMALLINT type, Handle parent, Handle& out) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    Return rc = SQLAllocHandle(type, H(parent), &h);
    out = Succeeded(rc) ? K(h) : 0;
    return rc;
}

// unixODBC as it is: each member is one call of the driver manager.
class UnixOdbcApi final : public Api {
  public:
    Return AllocEnv(Handle& env) override {
        std::lock_guard<std::mutex> hold(EnvironmentLock());
        Return rc = Allocate(SQL_HANDLE_ENV, 0, env);
        // ODBC 2 behaviour: an UPDATE or DELETE that touches no row is a success, not
        // SQL_NO_DATA, which the error check would take for a failure.
        if (Succeeded(rc))
            SQLSetEnvAttr(H(env), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC2),
                          0);
        return rc;
    }
    Return FreeEnv(Handle env) override {
        std::lock_guard<std::mutex> hold(EnvironmentLock());
        return SQLFreeHandle(SQL_HANDLE_ENV, H(env));
    }

    Return AllocConnect(Handle env, Handle& conn) override {
        return Allocate(SQL_HANDLE_DBC, env, conn);
    }
    Return DriverConnect(Handle conn, std::string_view text, uint16_t completion) override {
        SQLSMALLINT outLength = 0;
        return SQLDriverConnect(H(conn), nullptr, Text(text), static_cast<SQLSMALLINT>(text.size()),
                                nullptr, 0, &outLength, completion);
    }
    Return Disconnect(Handle conn) override { return SQLDisconnect(H(conn)); }
    Return FreeConnect(Handle conn) override { return SQLFreeHandle(SQL_HANDLE_DBC, H(conn)); }

    Return SetAutoCommit(Handle conn, bool on) override {
        auto value = static_cast<uintptr_t>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF);
        return SQLSetConnectAttr(H(conn), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value),
                                 SQL_IS_UINTEGER);
    }
    Return EndTran(Handle conn, bool commit) override {
        return SQLEndTran(SQL_HANDLE_DBC, H(conn), commit ? SQL_COMMIT : SQL_ROLLBACK);
    }
    Return GetInfo(Handle conn, uint16_t info, std::string& out) override {
        char text[256] = {};
        SQLSMALLINT length = 0;
        Return rc = SQLGetInfo(H(conn), info, text, sizeof text, &length);
        out.assign(text, Succeeded(rc) ? std::clamp<size_t>(length, 0, sizeof text - 1) : 0);
        return rc;
    }

    Return AllocStmt(Handle conn, Handle& stmt) override {
        return Allocate(SQL_HANDLE_STMT, conn, stmt);
    }
    Return SetQueryTimeout(Handle stmt, uint64_t seconds) override {
        return SQLSetStmtAttr(H(stmt), SQL_ATTR_QUERY_TIMEOUT,
                              reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(seconds)), 0);
    }
    Return CloseCursor(Handle stmt) override { return SQLFreeStmt(H(stmt), SQL_CLOSE); }
    Return FreeStmt(Handle stmt) override { return SQLFreeHandle(SQL_HANDLE_STMT, H(stmt)); }

    Return ExecDirect(Handle stmt, const std::string& sql) override {
        // Given its length, a driver copies the text to end it; a text that holds no NUL of
        // its own goes as it is. One that does keeps its length, so nothing after the NUL
        // is silently dropped from the command.
        bool innerNul = std::memchr(sql.data(), '\0', sql.size()) != nullptr;
        return SQLExecDirect(H(stmt), Text(sql),
                             innerNul ? static_cast<SQLINTEGER>(sql.size()) : SQL_NTS);
    }
    Return RowCount(Handle stmt, int64_t& rows) override {
        SQLLEN n = 0;
        Return rc = SQLRowCount(H(stmt), &n);
        rows = n;
        return rc;
    }
    Return NumResultCols(Handle stmt, int16_t& columns) override {
        SQLSMALLINT n = 0;
        Return rc = SQLNumResultCols(H(stmt), &n);
        columns = n;
        return rc;
    }
    Return DescribeCol(Handle stmt, uint16_t column, ColumnDescription& out) override {
        SQLCHAR name[1024];
        SQLSMALLINT nameLength = 0, type = 0, decimals = 0, nullable = 0;
        SQLULEN size = 0;
        Return rc = SQLDescribeCol(H(stmt), column, name, sizeof name, &nameLength, &type, &size,
                                   &decimals, &nullable);
        size_t n = nameLength < 0 ? 0 : std::min<size_t>(nameLength, sizeof name - 1);
        out.name.assign(reinterpret_cast<char*>(name), Succeeded(rc) ? n : 0);
        out.sqlType = type;
        out.size = size;
        out.decimals = decimals;
        out.nullable = nullable;
        return rc;
    }
    Return ColAttribute(Handle stmt, uint16_t column, uint16_t field, int64_t& value) override {
        SQLLEN n = 0;
        Return rc = SQLColAttribute(H(stmt), column, field, nullptr, 0, nullptr, &n);
        value = n;
        return rc;
    }
    Return Fetch(Handle stmt) override { return SQLFetch(H(stmt)); }
    Return GetData(Handle stmt, uint16_t column, int16_t cType, void* buffer, int64_t bufferLength,
                   int64_t& indicator) override {
        SQLLEN ind = 0;
        Return rc = SQLGetData(H(stmt), column, cType, buffer, bufferLength, &ind);
        indicator = ind;
        return rc;
    }
    Return MoreResults(Handle stmt) override { return SQLMoreResults(H(stmt)); }

    Return Prepare(Handle stmt, std::string_view sql) override {
        return SQLPrepare(H(stmt), Text(sql), static_cast<SQLINTEGER>(sql.size()));
    }
    Return BindParameter(Handle stmt, uint16_t number, int16_t cType, int16_t sqlType,
                         uint64_t columnSize, int16_t decimals, const void* value,
                         int64_t* length) override {
        static_assert(sizeof(SQLLEN) == sizeof(int64_t));
        // A parameter's buffer length only matters for output parameters.
        return SQLBindParameter(H(stmt), number, SQL_PARAM_INPUT, cType, sqlType, columnSize,
                                decimals, const_cast<void*>(value), 0,
                                reinterpret_cast<SQLLEN*>(length));
    }
    Return Execute(Handle stmt) override { return SQLExecute(H(stmt)); }
    Return ResetParameters(Handle stmt) override { return SQLFreeStmt(H(stmt), SQL_RESET_PARAMS); }

    Return ExecuteWith(Handle stmt, std::string_view sql, const std::vector<Parameter>& parameters,
                       std::vector<Diagnostic>& failure) override {
        Return rc = Prepare(stmt, sql);
        // The lengths must stay put until Execute has read them.
        std::vector<int64_t> lengths(parameters.size());
        for (size_t i = 0; i < parameters.size() && Succeeded(rc); ++i) {
            const std::optional<std::string>& value = parameters[i].value;
            lengths[i] = value ? static_cast<int64_t>(value->size()) : kNullData;
            uint64_t size = value && !value->empty() ? value->size() : 1;
            rc = BindParameter(stmt, static_cast<uint16_t>(i + 1), kCharData, parameters[i].sqlType,
                               size, 0, value ? value->data() : nullptr, &lengths[i]);
        }
        if (Succeeded(rc)) rc = Execute(stmt);
        failure.clear();
        if (!Succeeded(rc) && rc != kNoData) failure = Diagnostics(*this, 0, 0, stmt);
        // The bindings point into the caller's values, which do not outlive this call.
        ResetParameters(stmt);
        return rc;
    }
    Return SpecialColumns(Handle stmt, std::string_view table) override {
        return SQLSpecialColumns(H(stmt), SQL_BEST_ROWID, nullptr, 0, nullptr, 0, Text(table),
                                 static_cast<SQLSMALLINT>(table.size()), SQL_SCOPE_SESSION,
                                 SQL_NULLABLE);
    }

    Return GetInfoMask(Handle conn, uint16_t info, uint32_t& out) override {
        SQLUINTEGER value = 0;
        Return rc = SQLGetInfo(H(conn), info, &value, sizeof value, nullptr);
        out = Succeeded(rc) ? value : 0;
        return rc;
    }
    Return ColAttributeText(Handle stmt, uint16_t column, uint16_t field,
                            std::string& out) override {
        char text[256] = {};
        SQLSMALLINT length = 0;
        Return rc = SQLColAttribute(H(stmt), column, field, text, sizeof text, &length, nullptr);
        out.assign(text, Succeeded(rc) ? std::clamp<size_t>(length, 0, sizeof text - 1) : 0);
        return rc;
    }
    Return BindCol(Handle stmt, uint16_t column, int16_t cType, void* buffer, int64_t bufferLength,
                   int64_t* indicators) override {
        return SQLBindCol(H(stmt), column, cType, buffer, bufferLength,
                          reinterpret_cast<SQLLEN*>(indicators));
    }
    Return UnbindColumns(Handle stmt) override { return SQLFreeStmt(H(stmt), SQL_UNBIND); }
    Return SetStmtInteger(Handle stmt, int32_t attribute, uint64_t value) override {
        return SQLSetStmtAttr(H(stmt), attribute,
                              reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(value)), 0);
    }
    Return SetStmtPointer(Handle stmt, int32_t attribute, void* value) override {
        return SQLSetStmtAttr(H(stmt), attribute, value, 0);
    }
    Return SetPos(Handle stmt, uint64_t row) override {
        return SQLSetPos(H(stmt), row, SQL_POSITION, SQL_LOCK_NO_CHANGE);
    }

    Return Error(Handle env, Handle conn, Handle stmt, int16_t record, Diagnostic& out) override {
        SQLSMALLINT type = stmt ? SQL_HANDLE_STMT : conn ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
        SQLHANDLE h = H(stmt ? stmt : conn ? conn : env);
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        out = {};
        out.message.resize(SQL_MAX_MESSAGE_LENGTH);
        Return rc = SQLGetDiagRec(type, h, record, state, &native, Text(out.message),
                                  static_cast<SQLSMALLINT>(out.message.size()), &length);
        if (!Succeeded(rc)) {
            out.message.clear();
            return rc;
        }
        // A message longer than the room is asked again with room for all of it.
        if (length >= static_cast<SQLSMALLINT>(out.message.size())) {
            out.message.resize(static_cast<size_t>(length) + 1);
            rc = SQLGetDiagRec(type, h, record, state, &native, Text(out.message),
                               static_cast<SQLSMALLINT>(out.message.size()), &length);
        }
        out.state.assign(reinterpret_cast<char*>(state));
        out.native = native;
        out.message.resize(std::min<size_t>(length < 0 ? 0 : length, out.message.size() - 1));
        return rc;
    }
    Return Drivers(Handle env, std::vector<std::string>& names) override {
        names.clear();
        SQLCHAR description[256];
        SQLCHAR attributes[1024];
        SQLSMALLINT descriptionLength = 0, attributesLength = 0;
        SQLUSMALLINT direction = SQL_FETCH_FIRST;
        Return rc;
        while (Succeeded(rc = SQLDrivers(H(env), direction, description, sizeof description,
                                         &descriptionLength, attributes, sizeof attributes,
                                         &attributesLength))) {
            names.emplace_back(reinterpret_cast<char*>(description));
            direction = SQL_FETCH_NEXT;
        }
        return rc == SQL_NO_DATA ? kSuccess : rc;
    }
};

}  // namespace

std::shared_ptr<Api> UnixOdbc() {
    static const std::shared_ptr<Api> api = std::make_shared<UnixOdbcApi>();
    return api;
}

}  // namespace kvl::odbc
