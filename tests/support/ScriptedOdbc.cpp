#include "ScriptedOdbc.h"

#include <algorithm>
#include <cstring>

namespace kvltest {

using namespace kvl::odbc;

void ScriptedOdbc::Script(const std::string& call, std::vector<Answer> answers) {
    auto& queue = script_[call];
    queue.insert(queue.end(), answers.begin(), answers.end());
}

void ScriptedOdbc::ScriptExecution(std::vector<Result> resultSets) {
    pendingExecutions_.push_back(std::move(resultSets));
}

size_t ScriptedOdbc::Count(const std::string& call) const {
    return std::count_if(calls.begin(), calls.end(),
                         [&](const std::string& c) { return c.rfind(call + "(", 0) == 0; });
}

Handle ScriptedOdbc::NewHandle() {
    Handle h = next_++;
    live_.insert(h);
    return h;
}

Return ScriptedOdbc::Enter(const std::string& call, Handle h, const std::string& detail) {
    calls.push_back(call + "(" + std::to_string(h) + (detail.empty() ? "" : ", " + detail) + ")");
    if (h != 0 && !live_.count(h)) {
        ++misuses;
        return kInvalidHandle;
    }
    if (h == 0 && call != "AllocEnv") return kInvalidHandle;
    diagnostics_.erase(h);
    auto it = script_.find(call);
    if (it == script_.end() || it->second.empty()) return kSuccess;
    Answer a = it->second.front();
    it->second.pop_front();
    if (a.diag) diagnostics_[h] = *a.diag;
    return a.rc;
}

Return ScriptedOdbc::AllocEnv(Handle& env) {
    Return rc = Enter("AllocEnv", 0);
    env = Succeeded(rc) ? NewHandle() : 0;
    return rc;
}

Return ScriptedOdbc::FreeEnv(Handle env) {
    Return rc = Enter("FreeEnv", env);
    if (rc != kInvalidHandle) live_.erase(env);
    return rc;
}

Return ScriptedOdbc::AllocConnect(Handle env, Handle& conn) {
    Return rc = Enter("AllocConnect", env);
    conn = Succeeded(rc) ? NewHandle() : 0;
    return rc;
}

Return ScriptedOdbc::DriverConnect(Handle conn, std::string_view text, uint16_t) {
    Return rc = Enter("DriverConnect", conn, std::string(text));
    if (Succeeded(rc)) connected_.insert(conn);
    return rc;
}

Return ScriptedOdbc::Disconnect(Handle conn) {
    Return rc = Enter("Disconnect", conn);
    if (!connected_.count(conn)) ++misuses;  // disconnecting what was never connected
    connected_.erase(conn);
    return rc;
}

Return ScriptedOdbc::FreeConnect(Handle conn) {
    Return rc = Enter("FreeConnect", conn);
    if (rc == kInvalidHandle) return rc;
    if (connected_.count(conn)) ++misuses;  // freeing a connection still connected
    live_.erase(conn);
    return rc;
}

Return ScriptedOdbc::AllocStmt(Handle conn, Handle& stmt) {
    Return rc = Enter("AllocStmt", conn);
    if (Succeeded(rc) && !connected_.count(conn)) rc = kError;  // as real drivers do
    stmt = Succeeded(rc) ? NewHandle() : 0;
    return rc;
}

Return ScriptedOdbc::SetQueryTimeout(Handle stmt, uint64_t seconds) {
    return Enter("SetQueryTimeout", stmt, std::to_string(seconds));
}

Return ScriptedOdbc::CloseCursor(Handle stmt) {
    Return rc = Enter("CloseCursor", stmt);
    statements_.erase(stmt);
    return rc;
}

Return ScriptedOdbc::FreeStmt(Handle stmt) {
    Return rc = Enter("FreeStmt", stmt);
    if (rc == kInvalidHandle) return rc;
    statements_.erase(stmt);
    live_.erase(stmt);
    return rc;
}

Return ScriptedOdbc::ExecDirect(Handle stmt, std::string_view sql) {
    executed.emplace_back(sql);
    Return rc = Enter("ExecDirect", stmt, std::string(sql));
    Statement& s = statements_[stmt];
    s = Statement{};
    if (Succeeded(rc) && !pendingExecutions_.empty()) {
        s.results.assign(pendingExecutions_.front().begin(), pendingExecutions_.front().end());
        pendingExecutions_.pop_front();
    }
    return rc;
}

const ScriptedOdbc::Result* ScriptedOdbc::Current(Handle stmt) const {
    auto it = statements_.find(stmt);
    if (it == statements_.end() || it->second.results.empty()) return nullptr;
    return &it->second.results.front();
}

Return ScriptedOdbc::RowCount(Handle stmt, int64_t& rows) {
    Return rc = Enter("RowCount", stmt);
    const Result* r = Current(stmt);
    rows = r ? r->rowCount : -1;
    return rc;
}

Return ScriptedOdbc::NumResultCols(Handle stmt, int16_t& columns) {
    Return rc = Enter("NumResultCols", stmt);
    const Result* r = Current(stmt);
    columns = r ? static_cast<int16_t>(r->columns.size()) : 0;
    return rc;
}

Return ScriptedOdbc::DescribeCol(Handle stmt, uint16_t column, ColumnDescription& out) {
    Return rc = Enter("DescribeCol", stmt, std::to_string(column));
    const Result* r = Current(stmt);
    if (!r || column < 1 || column > r->columns.size()) return kError;
    out = r->columns[column - 1];
    return rc;
}

Return ScriptedOdbc::ColAttribute(Handle stmt, uint16_t column, uint16_t field, int64_t& value) {
    Return rc = Enter("ColAttribute", stmt, std::to_string(column) + ", " + std::to_string(field));
    const Result* r = Current(stmt);
    if (!r || column < 1 || column > r->columns.size()) return kError;
    auto it = r->attributes.find({column, field});
    const ColumnDescription& c = r->columns[column - 1];
    value = it != r->attributes.end() ? it->second
            : field == kColumnScale   ? c.decimals
                                      : static_cast<int64_t>(c.size);
    return rc;
}

Return ScriptedOdbc::Fetch(Handle stmt) {
    Return rc = Enter("Fetch", stmt);
    if (!Succeeded(rc)) return rc;
    auto it = statements_.find(stmt);
    if (it == statements_.end() || it->second.results.empty()) return kError;
    Statement& s = it->second;
    if (++s.row >= static_cast<long>(s.results.front().rows.size())) return kNoData;
    return rc;
}

Return ScriptedOdbc::GetData(Handle stmt, uint16_t column, char* buffer, int64_t bufferLength,
                             int64_t& indicator) {
    Return rc = Enter("GetData", stmt);
    auto it = statements_.find(stmt);
    if (it == statements_.end() || it->second.results.empty()) return kError;
    const Statement& s = it->second;
    const auto& rows = s.results.front().rows;
    if (s.row < 0 || s.row >= static_cast<long>(rows.size()) || column < 1 ||
        column > rows[s.row].size())
        return kError;
    const std::optional<std::string>& value = rows[s.row][column - 1];
    if (!value) {
        indicator = kNullData;
        return rc;
    }
    indicator = static_cast<int64_t>(value->size());
    if (bufferLength <= 0) return kSuccessWithInfo;
    size_t n = std::min<size_t>(value->size(), static_cast<size_t>(bufferLength - 1));
    std::memcpy(buffer, value->data(), n);
    buffer[n] = '\0';
    return n < value->size() ? kSuccessWithInfo : rc;
}

Return ScriptedOdbc::MoreResults(Handle stmt) {
    Return rc = Enter("MoreResults", stmt);
    auto it = statements_.find(stmt);
    if (!Succeeded(rc)) return rc;
    if (it == statements_.end() || it->second.results.size() <= 1) return kNoData;
    it->second.results.pop_front();
    it->second.row = -1;
    return rc;
}

Return ScriptedOdbc::Error(Handle env, Handle conn, Handle stmt, Diagnostic& out) {
    Handle h = stmt ? stmt : conn ? conn : env;
    calls.push_back("Error(" + std::to_string(h) + ")");
    auto it = diagnostics_.find(h);
    if (it == diagnostics_.end()) {
        out = {};
        return kNoData;
    }
    out = it->second;
    return kSuccess;
}

}  // namespace kvltest
