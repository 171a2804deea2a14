#pragma once
// A driver manager that answers from a script: chosen return codes and diagnostics
// for any call, and chosen result sets for executions. It stands in for the faults no
// real driver gives on demand, and it checks the handle discipline: a call on a
// handle that was never allocated or is already freed is counted as a misuse.

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kvl/odbc/Api.h"

namespace kvltest {

using kvl::Handle;
using kvl::odbc::ColumnDescription;
using kvl::odbc::Diagnostic;
using kvl::odbc::Return;

class ScriptedOdbc : public kvl::odbc::Api {
  public:
    struct Answer {
        Return rc = kvl::odbc::kSuccess;
        std::optional<Diagnostic> diag;
    };
    using Row = std::vector<std::optional<std::string>>;
    struct Result {
        std::vector<ColumnDescription> columns;
        std::vector<Row> rows;
        int64_t rowCount = -1;
        std::map<std::pair<uint16_t, uint16_t>, int64_t> attributes;  // (column, field)
    };

    // The next calls named `call` ("DriverConnect", "ExecDirect", ...) answer these in
    // order; calls past the script succeed.
    void Script(const std::string& call, std::vector<Answer> answers);
    // The result sets of the next successful ExecDirect not yet scripted (a batch may
    // give several, walked with MoreResults).
    void ScriptExecution(std::vector<Result> resultSets);

    std::vector<std::string> calls;     // every call by name and main argument
    std::vector<std::string> executed;  // the texts given to ExecDirect, in order
    int misuses = 0;                    // calls on handles not alive
    size_t LiveHandles() const { return live_.size(); }
    size_t Count(const std::string& call) const;

    Return AllocEnv(Handle& env) override;
    Return FreeEnv(Handle env) override;
    Return AllocConnect(Handle env, Handle& conn) override;
    Return DriverConnect(Handle conn, std::string_view text, uint16_t completion) override;
    Return Disconnect(Handle conn) override;
    Return FreeConnect(Handle conn) override;
    Return AllocStmt(Handle conn, Handle& stmt) override;
    Return SetQueryTimeout(Handle stmt, uint64_t seconds) override;
    Return CloseCursor(Handle stmt) override;
    Return FreeStmt(Handle stmt) override;
    Return ExecDirect(Handle stmt, std::string_view sql) override;
    Return RowCount(Handle stmt, int64_t& rows) override;
    Return NumResultCols(Handle stmt, int16_t& columns) override;
    Return DescribeCol(Handle stmt, uint16_t column, ColumnDescription& out) override;
    Return ColAttribute(Handle stmt, uint16_t column, uint16_t field, int64_t& value) override;
    Return Fetch(Handle stmt) override;
    Return GetData(Handle stmt, uint16_t column, char* buffer, int64_t bufferLength,
                   int64_t& indicator) override;
    Return MoreResults(Handle stmt) override;
    Return Error(Handle env, Handle conn, Handle stmt, Diagnostic& out) override;

  private:
    struct Statement {
        std::deque<Result> results;
        long row = -1;  // index into the current result's rows
    };

    // Records the call, checks the handle, and gives the scripted answer for it.
    Return Enter(const std::string& call, Handle h, const std::string& detail = "");
    Handle NewHandle();
    const Result* Current(Handle stmt) const;

    std::map<std::string, std::deque<Answer>> script_;
    std::deque<std::vector<Result>> pendingExecutions_;
    std::set<Handle> live_;
    std::set<Handle> connected_;
    std::map<Handle, Statement> statements_;
    std::map<Handle, Diagnostic> diagnostics_;
    Handle next_ = 1000;
};

}  // namespace kvltest
