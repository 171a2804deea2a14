// Commands of the application services, run through the session.

#include "SessionRunner.h"

#include "SessionImpl.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

// Every row of R's current result set and of the ones after it.
services::Answer ReadAll(kvlRES& R, size_t maxRows) {
    services::Answer a;
    for (;;) {
        services::Rows& rows = a.sets.emplace_back();
        while (rows.size() < maxRows && R.TemLinhas()) {
            services::Row& row = rows.emplace_back();
            row.values.reserve(static_cast<size_t>(std::max<int16_t>(R.Cols, 0)));
            for (int16_t n = 1; n <= R.Cols; ++n) row.values.push_back(R.Col(n));
        }
        // A caller that asked for fewer rows than there are wants no later result.
        if (R.erro || rows.size() == maxRows || !R.MaisResultados()) break;
    }
    return a;
}

}  // namespace

services::Answer SessionRunner::Query(const std::string& command, size_t maxRows) {
    std::shared_ptr<kvlRES> R = s_.Exec(command);
    if (!R) return {};
    services::Answer a = R->erro ? services::Answer{} : ReadAll(*R, maxRows);
    R->Liberta();
    return a;
}

services::Answer SessionRunner::QueryAfterPending(const std::string& command, size_t maxRows) {
    std::string pending;
    pending.swap(s_.ActCom);
    return Query(pending + command, maxRows);
}

std::string SessionRunner::Literal(std::string_view value) const {
    std::string quoted = kvl::Literal(value);
    if (s_.impl().facts.backslashEscapes) quoted = StrSubstitui(quoted, "\\", "\\\\", true);
    return quoted;
}

odbc::Return SessionRunner::Attempt(const std::vector<std::string>& commands, Handle conn,
                                    Handle stmt, Failure& failure) {
    kvlSERV::Impl& e = s_.impl();
    odbc::Api& api = *e.api;
    // The reason is read at once: the rollback and the cleanup that follow would clear it.
    auto failed = [&](odbc::Return rc, std::string_view text, Handle h) {
        failure.text = text;
        api.Error(0, h == stmt ? conn : h, h == stmt ? stmt : 0, 1, failure.reason);
        return rc;
    };
    odbc::Return rc = api.SetAutoCommit(conn, false);
    if (!odbc::Succeeded(rc)) return failed(rc, commands.front(), conn);
    // A server that takes several statements per call gets them as one batch.
    std::vector<std::string> calls = commands;
    if (e.facts.batches && calls.size() > 1) {
        std::string joined;
        for (const std::string& c : commands) joined += (joined.empty() ? "" : "; ") + c;
        calls.assign(1, std::move(joined));
    }
    for (const std::string& call : calls) {
        int32_t start = kvlSERV::Milissegundos();
        rc = api.ExecDirect(stmt, call);
        if (!odbc::Succeeded(rc)) failed(rc, call, stmt);
        if (s_.Log) e.LogExecution(call, 0, conn, stmt, start);
        if (!odbc::Succeeded(rc)) break;
        api.CloseCursor(stmt);
    }
    bool ok = odbc::Succeeded(rc);
    odbc::Return end = api.EndTran(conn, ok);
    if (ok && !odbc::Succeeded(end)) rc = failed(end, "COMMIT", conn);
    api.SetAutoCommit(conn, true);
    return rc;
}

bool SessionRunner::RunTogether(const std::vector<std::string>& commands) {
    if (commands.empty()) return true;
    kvlSERV::Impl& e = s_.impl();
    for (;;) {
        s_.erro = false;
        SlotLease lease = e.Lease();
        Failure failure;
        odbc::Return rc = odbc::kError;
        if (lease.Live() && lease.stmt()) {
            rc = Attempt(commands, lease.conn(), lease.stmt(), failure);
        } else {
            failure.text = commands.front();
            e.api->Error(e.pool->env(), lease.conn(), 0, 1, failure.reason);
        }
        lease.Release();
        if (odbc::Succeeded(rc)) return true;
        e.lastReturn = rc;
        if (!e.Follow(e.Check(rc, failure.reason, failure.text, "SQLExecDirect"))) return false;
    }
}

}  // namespace kvl
