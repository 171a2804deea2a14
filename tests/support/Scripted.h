#pragma once
// A driver manager and dialogs that answer from a script. The driver manager stands in
// for the faults no real driver gives on demand, and it checks the handle discipline:
// a call on a handle never allocated or already freed, a disconnect of what was never
// connected and a free of what is still connected each count as a misuse.
// Given a real driver manager, it passes every call it has no script for through to it:
// handles are the real ones, an execution with scripted result sets answers from the
// script until the statement runs again, and every other execution runs for real. So one
// session can read rows no real database gives (statements a driver refuses) and then
// work on real tables.

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kvl/Dialogs.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"
#include "kvl/odbc/Api.h"

namespace kvltest {

using kvl::Handle;
using namespace kvl::odbc;

class ScriptedOdbc : public Api {
  public:
    using Row = std::vector<std::optional<std::string>>;
    struct Result {
        std::vector<ColumnDescription> columns;
        std::vector<Row> rows;
        int64_t rowCount = -1;
        long row = -1;                      // the row fetched last
        std::map<uint16_t, size_t> read{};  // bytes of each column of that row given so far
    };

    ScriptedOdbc() = default;
    explicit ScriptedOdbc(std::shared_ptr<Api> real) : real_(std::move(real)) {}

    // The next call named `call` ("DriverConnect", "ExecDirect", ...) not yet failed fails
    // with this diagnostic; unscripted calls succeed.
    void Fail(const std::string& call, Diagnostic diag = {}) { failures_[call].push_back({diag}); }
    // The same, with several diagnostic records.
    void Fail(const std::string& call, std::vector<Diagnostic> records) {
        failures_[call].push_back(std::move(records));
    }
    // The next fetch of a block from the real driver marks row `row` (from 1) of it failed
    // with this diagnostic, as a driver does when one row of a block cannot be given.
    void FailRow(uint64_t row, Diagnostic diag) { rowFailures_.push_back({row, std::move(diag)}); }
    // The result sets of the next successful ExecDirect (a batch may give several).
    void ScriptExecution(std::vector<Result> sets) { pending_.push_back(std::move(sets)); }

    std::vector<std::string> calls;                  // every call by name and main argument
    std::vector<std::string> executed;               // the texts given to ExecDirect, in order
    std::vector<std::vector<Parameter>> parameters;  // those given to ExecuteWith, in order
    std::vector<std::string> drivers{"SQLite3", "PostgreSQL Unicode"};  // without a real one
    int misuses = 0;
    size_t LiveHandles() const { return live_.size(); }
    size_t Count(const std::string& call) const {
        return std::ranges::count_if(calls, [&](auto& c) { return c.starts_with(call + "("); });
    }

    Return AllocEnv(Handle& env) override {
        return Alloc("AllocEnv", 0, env, [&] { return real_->AllocEnv(env); });
    }
    Return FreeEnv(Handle env) override {
        return Free("FreeEnv", env, [&] { return real_->FreeEnv(env); });
    }
    Return AllocConnect(Handle env, Handle& conn) override {
        return Alloc("AllocConnect", env, conn, [&] { return real_->AllocConnect(env, conn); });
    }
    Return DriverConnect(Handle conn, std::string_view text, uint16_t completion) override {
        Return rc = Pass(Enter("DriverConnect", conn, std::string(text)),
                         [&] { return real_->DriverConnect(conn, text, completion); });
        if (Succeeded(rc)) connected_.insert(conn);
        return rc;
    }
    Return Disconnect(Handle conn) override {
        if (connected_.erase(conn) == 0) ++misuses;
        return Pass(Enter("Disconnect", conn), [&] { return real_->Disconnect(conn); });
    }
    Return FreeConnect(Handle conn) override {
        if (connected_.erase(conn) != 0) ++misuses;
        return Free("FreeConnect", conn, [&] { return real_->FreeConnect(conn); });
    }
    Return SetAutoCommit(Handle conn, bool on) override {
        return Pass(Enter("SetAutoCommit", conn, on ? "on" : "off"),
                    [&] { return real_->SetAutoCommit(conn, on); });
    }
    Return EndTran(Handle conn, bool commit) override {
        return Pass(Enter("EndTran", conn, commit ? "commit" : "rollback"),
                    [&] { return real_->EndTran(conn, commit); });
    }
    // Without a real driver manager the server takes several statements per call.
    Return GetInfo(Handle conn, uint16_t info, std::string& out) override {
        out = info == kInfoMultResultSets ? "Y" : "Scripted";
        return Pass(Enter("GetInfo", conn), [&] { return real_->GetInfo(conn, info, out); });
    }
    Return AllocStmt(Handle conn, Handle& stmt) override {
        return Alloc("AllocStmt", conn, stmt, [&] { return real_->AllocStmt(conn, stmt); });
    }
    Return SetQueryTimeout(Handle stmt, uint64_t seconds) override {
        return Pass(Enter("SetQueryTimeout", stmt),
                    [&] { return real_->SetQueryTimeout(stmt, seconds); });
    }
    Return CloseCursor(Handle stmt) override {
        results_.erase(stmt);
        return Pass(Enter("CloseCursor", stmt), [&] { return real_->CloseCursor(stmt); });
    }
    Return FreeStmt(Handle stmt) override {
        return Free("FreeStmt", stmt, [&] { return real_->FreeStmt(stmt); });
    }

    Return ExecDirect(Handle stmt, const std::string& sql) override {
        return Execute("ExecDirect", stmt, sql, [&] { return real_->ExecDirect(stmt, sql); });
    }
    Return Prepare(Handle stmt, std::string_view sql) override {
        return Pass(Enter("Prepare", stmt), [&] { return real_->Prepare(stmt, sql); });
    }
    Return BindParameter(Handle stmt, uint16_t number, int16_t cType, int16_t sqlType,
                         uint64_t columnSize, int16_t decimals, const void* value,
                         int64_t* length) override {
        return Pass(Enter("BindParameter", stmt), [&] {
            return real_->BindParameter(stmt, number, cType, sqlType, columnSize, decimals, value,
                                        length);
        });
    }
    Return Execute(Handle stmt) override {
        return Pass(Enter("Execute", stmt), [&] { return real_->Execute(stmt); });
    }
    Return ResetParameters(Handle stmt) override {
        return Pass(Enter("ResetParameters", stmt), [&] { return real_->ResetParameters(stmt); });
    }
    Return ExecuteWith(Handle stmt, std::string_view sql, const std::vector<Parameter>& given,
                       std::vector<Diagnostic>& failure) override {
        parameters.push_back(given);
        failure.clear();
        Return rc = Execute("ExecuteWith", stmt, sql,
                            [&] { return real_->ExecuteWith(stmt, sql, given, failure); });
        if (!Succeeded(rc) && failure.empty()) failure = Diagnostics(*this, 0, 0, stmt);
        return rc;
    }
    Return SpecialColumns(Handle stmt, std::string_view table) override {
        return Execute("SpecialColumns", stmt, table,
                       [&] { return real_->SpecialColumns(stmt, table); });
    }
    Return RowCount(Handle stmt, int64_t& rows) override {
        if (Real(stmt))
            return Pass(Enter("RowCount", stmt), [&] { return real_->RowCount(stmt, rows); });
        rows = Current(stmt) ? Current(stmt)->rowCount : -1;
        return Enter("RowCount", stmt);
    }
    Return NumResultCols(Handle stmt, int16_t& columns) override {
        if (Real(stmt)) {
            return Pass(Enter("NumResultCols", stmt),
                        [&] { return real_->NumResultCols(stmt, columns); });
        }
        columns = Current(stmt) ? int16_t(Current(stmt)->columns.size()) : 0;
        return Enter("NumResultCols", stmt);
    }
    Return DescribeCol(Handle stmt, uint16_t column, ColumnDescription& out) override {
        Return rc = Enter("DescribeCol", stmt);
        if (Real(stmt)) return Pass(rc, [&] { return real_->DescribeCol(stmt, column, out); });
        if (!Column(stmt, column)) return kError;
        out = *Column(stmt, column);
        return rc;
    }
    Return ColAttribute(Handle stmt, uint16_t column, uint16_t field, int64_t& value) override {
        Return rc = Enter("ColAttribute", stmt);
        if (Real(stmt)) {
            return Pass(rc, [&] { return real_->ColAttribute(stmt, column, field, value); });
        }
        const ColumnDescription* c = Column(stmt, column);
        if (!c) return kError;
        // The length and the precision are the described size.
        value = field == kColumnScale ? c->decimals : int64_t(c->size);
        return rc;
    }
    Return Fetch(Handle stmt) override {
        Return rc = Enter("Fetch", stmt);
        if (!Succeeded(rc)) return rc;
        if (Real(stmt)) return FailingRow(stmt, real_->Fetch(stmt));
        Result* r = Current(stmt);
        if (!r) return kError;
        r->read.clear();
        if (!(++r->row < long(r->rows.size()))) return kNoData;
        // Scripted rows come one a fetch, whatever the block asked for.
        if (uint64_t* fetched = fetched_[stmt]) *fetched = 1;
        if (uint16_t* status = status_[stmt]) *status = 0;
        return rc;
    }
    Return GetData(Handle stmt, uint16_t column, int16_t cType, void* out, int64_t bufferLength,
                   int64_t& indicator) override {
        Return rc = Enter("GetData", stmt);
        if (Real(stmt)) {
            return Pass(rc, [&] {
                return real_->GetData(stmt, column, cType, out, bufferLength, indicator);
            });
        }
        char* buffer = static_cast<char*>(out);
        Result* r = Current(stmt);
        if (!Column(stmt, column) || r->row < 0 || r->row >= long(r->rows.size())) return kError;
        const std::optional<std::string>& value = r->rows[r->row][column - 1];
        indicator = value ? int64_t(value->size()) : kNullData;
        if (!value) return rc;
        // Like a real driver, a value is read on in pieces from where the last call ended.
        size_t& done = r->read[column];
        if (done > 0 && done >= value->size()) return kNoData;
        indicator = int64_t(value->size() - done);
        if (bufferLength <= 0) return kSuccessWithInfo;
        size_t n = std::min(value->size() - done, size_t(bufferLength - 1));
        std::memcpy(buffer, value->data() + done, n);
        buffer[n] = '\0';
        done += n;
        return done < value->size() ? kSuccessWithInfo : rc;
    }
    Return MoreResults(Handle stmt) override {
        Return rc = Enter("MoreResults", stmt);
        if (!Succeeded(rc)) return rc;
        if (Real(stmt)) return real_->MoreResults(stmt);
        if (results_[stmt].size() <= 1) return kNoData;
        results_[stmt].pop_front();
        return rc;
    }
    // Without a real driver, one that can read with GetData anywhere but refuses to bind.
    Return GetInfoMask(Handle conn, uint16_t info, uint32_t& out) override {
        out = kGetDataAnyColumn | kGetDataBound | kGetDataBlock;
        return Pass(Enter("GetInfoMask", conn),
                    [&] { return real_->GetInfoMask(conn, info, out); });
    }
    Return ColAttributeText(Handle stmt, uint16_t column, uint16_t field,
                            std::string& out) override {
        out.clear();
        Return rc = Enter("ColAttributeText", stmt);
        if (!Real(stmt)) return Column(stmt, column) ? rc : kError;
        return Pass(rc, [&] { return real_->ColAttributeText(stmt, column, field, out); });
    }
    Return BindCol(Handle stmt, uint16_t column, int16_t cType, void* buffer, int64_t bufferLength,
                   int64_t* indicators) override {
        Return rc = Enter("BindCol", stmt);
        if (!Real(stmt)) return kError;
        return Pass(rc, [&] {
            return real_->BindCol(stmt, column, cType, buffer, bufferLength, indicators);
        });
    }
    Return UnbindColumns(Handle stmt) override {
        return Pass(Enter("UnbindColumns", stmt), [&] { return real_->UnbindColumns(stmt); });
    }
    Return SetStmtInteger(Handle stmt, int32_t attribute, uint64_t value) override {
        return Pass(Enter("SetStmtInteger", stmt, std::to_string(attribute)),
                    [&] { return real_->SetStmtInteger(stmt, attribute, value); });
    }
    Return SetStmtPointer(Handle stmt, int32_t attribute, void* value) override {
        if (attribute == kAttrRowStatusPtr) status_[stmt] = static_cast<uint16_t*>(value);
        if (attribute == kAttrRowsFetchedPtr) fetched_[stmt] = static_cast<uint64_t*>(value);
        return Pass(Enter("SetStmtPointer", stmt, std::to_string(attribute)),
                    [&] { return real_->SetStmtPointer(stmt, attribute, value); });
    }
    Return SetPos(Handle stmt, uint64_t row) override {
        return Pass(Enter("SetPos", stmt), [&] { return real_->SetPos(stmt, row); });
    }
    Return Error(Handle env, Handle conn, Handle stmt, int16_t record, Diagnostic& out) override {
        Handle h = stmt ? stmt : conn ? conn : env;
        calls.push_back("Error(" + std::to_string(h) + ")");
        auto it = diagnostics_.find(h);
        if (it == diagnostics_.end() && real_) return real_->Error(env, conn, stmt, record, out);
        if (it == diagnostics_.end() || record < 1 || size_t(record) > it->second.size())
            return kNoData;
        out = it->second[record - 1];
        return kSuccess;
    }
    Return Drivers(Handle env, std::vector<std::string>& names) override {
        if (real_) return Pass(Enter("Drivers", env), [&] { return real_->Drivers(env, names); });
        names = drivers;
        return Enter("Drivers", env);
    }

  private:
    using RealCall = std::function<Return()>;

    // The real driver's answer when the scripted layer has no failure of its own to give.
    Return Pass(Return rc, const RealCall& real) const {
        return real_ && rc == kSuccess ? real() : rc;
    }
    // A real block's row marked failed, when one is scripted.
    Return FailingRow(Handle stmt, Return rc) {
        uint16_t* status = status_[stmt];
        if (rc != kSuccess || rowFailures_.empty() || !status) return rc;
        status[rowFailures_.front().first - 1] = kRowError;
        diagnostics_[stmt] = {rowFailures_.front().second};
        rowFailures_.pop_front();
        return kSuccessWithInfo;
    }
    // Whether the statement's results come from the real driver.
    bool Real(Handle stmt) const { return real_ && !results_.count(stmt); }
    // Runs a command: scripted result sets when some are waiting, else the real driver's.
    Return Execute(const std::string& call, Handle stmt, std::string_view sql,
                   const RealCall& real) {
        executed.emplace_back(sql);
        Return rc = Enter(call, stmt, std::string(sql));
        results_.erase(stmt);
        if (Succeeded(rc) && !pending_.empty()) {
            results_[stmt].assign(pending_.front().begin(), pending_.front().end());
            pending_.pop_front();
            return rc;
        }
        return Pass(rc, real);
    }
    // Records the call, checks the handle, and gives the scripted answer for it.
    Return Enter(const std::string& call, Handle h, const std::string& detail = "") {
        calls.push_back(call + "(" + std::to_string(h) + (detail.empty() ? "" : ", " + detail) +
                        ")");
        if (h == 0 && call != "AllocEnv") return kInvalidHandle;
        if (h != 0 && !live_.count(h)) {
            ++misuses;
            return kInvalidHandle;
        }
        diagnostics_.erase(h);
        auto& queue = failures_[call];
        if (queue.empty()) return kSuccess;
        diagnostics_[h] = queue.front();
        queue.pop_front();
        return kError;
    }
    Return Alloc(const std::string& call, Handle parent, Handle& h, const RealCall& real) {
        Return rc = Enter(call, parent);
        // As real drivers do, a statement needs a connected connection.
        if (call == "AllocStmt" && Succeeded(rc) && !connected_.count(parent)) rc = kError;
        if (real_ && Succeeded(rc)) {
            rc = real();
            if (!Succeeded(rc)) h = 0;
        } else {
            h = Succeeded(rc) ? next_++ : 0;
        }
        if (h) live_.insert(h);
        return rc;
    }
    Return Free(const std::string& call, Handle h, const RealCall& real) {
        Return rc = Enter(call, h);
        if (rc == kInvalidHandle) return rc;
        live_.erase(h);
        results_.erase(h);
        status_.erase(h);
        fetched_.erase(h);
        return Pass(rc, real);
    }
    // The statement's current result set, if it has one.
    Result* Current(Handle stmt) {
        auto it = results_.find(stmt);
        return it == results_.end() || it->second.empty() ? nullptr : &it->second.front();
    }
    const ColumnDescription* Column(Handle stmt, uint16_t column) {
        Result* r = Current(stmt);
        return r && column >= 1 && column <= r->columns.size() ? &r->columns[column - 1] : nullptr;
    }

    std::map<std::string, std::deque<std::vector<Diagnostic>>> failures_;
    std::deque<std::vector<Result>> pending_;
    std::set<Handle> live_, connected_;
    std::map<Handle, std::deque<Result>> results_;  // by statement, the current one first
    std::map<Handle, std::vector<Diagnostic>> diagnostics_;
    std::deque<std::pair<uint64_t, Diagnostic>> rowFailures_;
    std::map<Handle, uint16_t*> status_;   // where each statement's block row status goes
    std::map<Handle, uint64_t*> fetched_;  // and its count of rows fetched
    Handle next_ = 1000;
    std::shared_ptr<Api> real_;  // the driver manager behind the script, if any
};

// Dialogs that answer from a script and remember what they were asked.
class ScriptedDialogs : public kvl::Dialogs {
  public:
    struct Asked {
        std::string title, text;
        int32_t style;
    };
    std::vector<Asked> asked;
    std::deque<int32_t> answers;  // past the script: Ignore, or No for a question

    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override {
        asked.push_back({std::string(title), std::string(text), style});
        if (answers.empty()) return (style & 0xF) == kvl::kYesNo ? kvl::kNo : kvl::kIgnore;
        int32_t a = answers.front();
        answers.pop_front();
        return a;
    }
};

// A session on the scripted driver manager with scripted dialogs.
struct ScriptedSession {
    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<kvl::kvlSERV> server = kvl::kvlSERV::Create(odbc);

    explicit ScriptedSession(bool open = true) {
        server->Dialogos = dialogs;
        if (open) server->Abre();
    }
    // The next execution fails with this diagnostic.
    void Fail(int32_t native, const char* state = "42000", const char* text = "falhou") {
        odbc->Fail("ExecDirect", {state, native, text});
    }
    // The next execution gives this result set.
    std::shared_ptr<kvl::kvlRES> Run(ScriptedOdbc::Result result,
                                     const std::string& sql = "SELECT a, b FROM t") {
        odbc->ScriptExecution({std::move(result)});
        return server->Exec(sql);
    }
};

// A result set of one text column holding these values.
inline ScriptedOdbc::Result TextColumn(std::vector<std::string> values) {
    ScriptedOdbc::Result r;
    r.columns = {{"c", 12, 10, 0, 1}};
    for (auto& v : values) r.rows.push_back({v});
    return r;
}

}  // namespace kvltest
