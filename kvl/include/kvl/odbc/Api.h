#pragma once
// The seam between the library and the ODBC driver manager: every ODBC call the
// library makes goes through this interface. The server uses the unixODBC
// implementation unless it is handed another one (tests script faults with it).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/Export.h"

namespace kvl {

// An ODBC handle as the library holds it; 0 means none.
using Handle = std::uintptr_t;

namespace odbc {

using Return = int32_t;

// Return codes the library tests for.
constexpr Return kSuccess = 0;
constexpr Return kSuccessWithInfo = 1;
constexpr Return kError = -1;
constexpr Return kInvalidHandle = -2;
constexpr Return kStillExecuting = 2;
constexpr Return kNoData = 100;
constexpr int64_t kNullData = -1;
constexpr int64_t kNoTotal = -4;  // a length indicator: more data, of unknown length

// Column attributes asked with ColAttribute: the ODBC 2 fields, which ODBC 3 drivers
// still answer with the same meaning.
constexpr uint16_t kColumnLength = 3;
constexpr uint16_t kColumnPrecision = 4;
constexpr uint16_t kColumnScale = 5;
constexpr uint16_t kColumnDisplaySize = 6;
constexpr uint16_t kColumnTypeName = 14;  // the declared type's name, asked as text

// Facts asked with GetInfo, each answered as text.
constexpr uint16_t kInfoDbmsName = 17;        // the server's product name
constexpr uint16_t kInfoMultResultSets = 36;  // "Y" when a call may hold several statements
// What GetData can do besides reading unbound columns in order, asked as a bit mask.
constexpr uint16_t kInfoGetDataExtensions = 81;
constexpr uint32_t kGetDataAnyColumn = 1;  // an unbound column before a bound one
constexpr uint32_t kGetDataBlock = 4;      // in a row of a block, positioned with SetPos
constexpr uint32_t kGetDataBound = 8;      // a bound column

// Statement attributes of the reading in blocks.
constexpr int32_t kAttrRowStatusPtr = 25;    // an array of a row status per row
constexpr int32_t kAttrRowsFetchedPtr = 26;  // where the rows a fetch gave are counted
constexpr int32_t kAttrRowArraySize = 27;    // rows per fetch

// A row's status in a block.
constexpr uint16_t kRowSuccess = 0;
constexpr uint16_t kRowError = 5;

// The C types values are read as.
constexpr int16_t kCharData = 1;     // text, ended by a NUL the driver writes
constexpr int16_t kBinaryData = -2;  // bytes as they are

inline bool Succeeded(Return rc) {
    return rc == kSuccess || rc == kSuccessWithInfo;
}

struct Diagnostic {
    std::string state;  // SQLSTATE, five characters
    int32_t native = 0;
    std::string message;
};

// SQL data types a parameter can be sent as (the driver converts the text).
enum SqlType : int16_t {
    kSqlChar = 1,
    kSqlNumeric = 2,
    kSqlDecimal = 3,
    kSqlInteger = 4,
    kSqlSmallInt = 5,
    kSqlFloat = 6,
    kSqlReal = 7,
    kSqlDouble = 8,
    kSqlDate = 9,
    kSqlTime = 10,
    kSqlTimestamp = 11,
    kSqlVarchar = 12,
    kSqlLongVarchar = -1,
    kSqlBinary = -2,
    kSqlVarBinary = -3,
    kSqlLongVarBinary = -4,
    kSqlBigInt = -5,
    kSqlTinyInt = -6,
    kSqlBit = -7,
    kSqlWChar = -8,
    kSqlWVarchar = -9,
    kSqlWLongVarchar = -10,
    kSqlTypeDate = 91,
    kSqlTypeTime = 92,
    kSqlTypeTimestamp = 93,
};

// One input parameter of a prepared command: its text (nothing for NULL) and the SQL
// type the driver is to convert it to.
struct Parameter {
    std::optional<std::string> value;
    int16_t sqlType = kSqlVarchar;
};

struct ColumnDescription {
    std::string name;
    int16_t sqlType = 0;
    uint64_t size = 0;
    int16_t decimals = 0;
    int16_t nullable = 0;
};

class KVL_API Api {
  public:
    virtual ~Api() = default;

    // An environment with ODBC 2 behaviour (the ODBC 3 calls are still used).
    virtual Return AllocEnv(Handle& env) = 0;
    virtual Return FreeEnv(Handle env) = 0;

    virtual Return AllocConnect(Handle env, Handle& conn) = 0;
    // Connects with a full connection text; completion is the driver-completion mode.
    virtual Return DriverConnect(Handle conn, std::string_view text, uint16_t completion) = 0;
    virtual Return Disconnect(Handle conn) = 0;
    virtual Return FreeConnect(Handle conn) = 0;

    // Automatic commit of each statement (the default) on or off; with it off, EndTran
    // commits or rolls back what ran since the last one.
    virtual Return SetAutoCommit(Handle conn, bool on) = 0;
    virtual Return EndTran(Handle conn, bool commit) = 0;
    // A fact about the connection's driver or server, as text.
    virtual Return GetInfo(Handle conn, uint16_t info, std::string& out) = 0;

    virtual Return AllocStmt(Handle conn, Handle& stmt) = 0;
    virtual Return SetQueryTimeout(Handle stmt, uint64_t seconds) = 0;
    // Closes the statement's cursor; the handle stays usable.
    virtual Return CloseCursor(Handle stmt) = 0;
    virtual Return FreeStmt(Handle stmt) = 0;

    // A std::string, so the text reaches the driver as it is, without a copy to end it.
    virtual Return ExecDirect(Handle stmt, const std::string& sql) = 0;
    virtual Return RowCount(Handle stmt, int64_t& rows) = 0;
    virtual Return NumResultCols(Handle stmt, int16_t& columns) = 0;
    virtual Return DescribeCol(Handle stmt, uint16_t column, ColumnDescription& out) = 0;
    virtual Return ColAttribute(Handle stmt, uint16_t column, uint16_t field, int64_t& value) = 0;
    virtual Return Fetch(Handle stmt) = 0;
    // The column's value (or its next piece) as cType into buffer; indicator gets the
    // length left before this call, kNoTotal, or kNullData.
    virtual Return GetData(Handle stmt, uint16_t column, int16_t cType, void* buffer,
                           int64_t bufferLength, int64_t& indicator) = 0;
    virtual Return MoreResults(Handle stmt) = 0;
    // A command prepared once and executed as often as wanted with the parameters bound at
    // that moment. A binding points at the caller's value and length, which must stay put
    // until the Execute that reads them; ResetParameters forgets every binding.
    virtual Return Prepare(Handle stmt, std::string_view sql) = 0;
    virtual Return BindParameter(Handle stmt, uint16_t number, int16_t cType, int16_t sqlType,
                                 uint64_t columnSize, int16_t decimals, const void* value,
                                 int64_t* length) = 0;
    virtual Return Execute(Handle stmt) = 0;
    virtual Return ResetParameters(Handle stmt) = 0;
    // Prepares sql, binds the parameters in order and executes it. The parameters' text
    // only has to live for the call: no binding outlives it. Releasing the bindings clears
    // the statement's diagnostics, so those of a failure are read first, into failure.
    virtual Return ExecuteWith(Handle stmt, std::string_view sql,
                               const std::vector<Parameter>& parameters,
                               std::vector<Diagnostic>& failure) = 0;
    // The columns that best identify a row of table, as a result set on stmt.
    virtual Return SpecialColumns(Handle stmt, std::string_view table) = 0;

    // Reading in blocks, which only the typed reading does.
    // A fact about the connection's driver that is a number or a bit mask.
    virtual Return GetInfoMask(Handle conn, uint16_t info, uint32_t& out) = 0;
    // A column attribute that is text (kColumnTypeName).
    virtual Return ColAttributeText(Handle stmt, uint16_t column, uint16_t field,
                                    std::string& out) = 0;
    // Binds column as cType, column-wise: row i's value at buffer + i * bufferLength, its
    // length or kNullData at indicators[i].
    virtual Return BindCol(Handle stmt, uint16_t column, int16_t cType, void* buffer,
                           int64_t bufferLength, int64_t* indicators) = 0;
    // Unbinds every column.
    virtual Return UnbindColumns(Handle stmt) = 0;
    // A statement attribute whose value is a number, or a pointer (nullptr clears it).
    virtual Return SetStmtInteger(Handle stmt, int32_t attribute, uint64_t value) = 0;
    virtual Return SetStmtPointer(Handle stmt, int32_t attribute, void* value) = 0;
    // Makes row (from 1) of the block fetched last the one GetData reads.
    virtual Return SetPos(Handle stmt, uint64_t row) = 0;

    // Diagnostic record number `record` (from 1) of the most specific handle given (stmt,
    // else conn, else env); kNoData past the last.
    virtual Return Error(Handle env, Handle conn, Handle stmt, int16_t record, Diagnostic& out) = 0;
    // The drivers registered with the driver manager, by name.
    virtual Return Drivers(Handle env, std::vector<std::string>& names) = 0;
};

// Every diagnostic record of the most specific handle given, in order.
KVL_API std::vector<Diagnostic> Diagnostics(Api& api, Handle env, Handle conn, Handle stmt);

// The driver manager of this machine.
KVL_API std::shared_ptr<Api> UnixOdbc();

}  // namespace odbc
}  // namespace kvl
