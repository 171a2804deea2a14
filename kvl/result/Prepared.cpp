// kvlRES: running a prepared command with its parameters bound.

#include <algorithm>
#include <limits>

#include "ResultImpl.h"
#include "kvl/OdbcError.h"

namespace kvl {

namespace {

void CheckLive(const StatementSource& statement) {
    if (!statement.Live()) {
        throw OdbcError(odbc::kError, {{"08003", 0, "the connection is not open"}});
    }
}

// A row count as LinAfect holds it: -1 unknown, at most the 32-bit maximum.
int32_t Count32(int64_t rows) {
    return static_cast<int32_t>(std::clamp<int64_t>(rows, -1, std::numeric_limits<int32_t>::max()));
}

}  // namespace

void kvlRES::Executa(const std::vector<TypedValue>& Parametros) {
    if (!impl().proprio) throw Error(kInvalidCall);
    impl().Executa(Parametros);
}

void kvlRES::ExecutaLinhas(const std::vector<std::vector<TypedValue>>& Linhas) {
    if (!impl().proprio) throw Error(kInvalidCall);
    if (Linhas.size() > 1 && impl().ExecutaArray(Linhas)) return;
    int64_t changed = 0;
    for (const auto& valores : Linhas) {
        impl().Executa(valores);
        changed = changed < 0 || LinAfect < 0 ? -1 : changed + LinAfect;
    }
    LinAfect = Count32(changed);
    Cols = 0;
    impl().comLinhas = false;
}

bool kvlRES::Impl::ExecutaArray(const std::vector<std::vector<TypedValue>>& linhas) {
    CheckLive(*proprio);
    BoundRows sets;
    if (!sets.Fill(linhas)) return false;
    odbc::Api& api = *proprio->api();
    const Handle stmt = proprio->stmt();
    ReiniciaLeitura();
    api.CloseCursor(stmt);
    if (!odbc::Succeeded(sets.Bind(api, stmt))) {
        BoundRows::Unbind(api, stmt);  // a driver without arrays: one row at a time
        return false;
    }
    const odbc::Return rc = api.Execute(stmt);
    const bool failed = !odbc::Succeeded(rc) && rc != odbc::kNoData;
    std::vector<odbc::Diagnostic> failure;
    if (failed) failure = odbc::Diagnostics(api, 0, 0, stmt);
    // Each set's count, where the driver gives one per set (it moves to the next as to a
    // next result), or the count of them all.
    int64_t changed = 0;
    for (bool more = !failed; more; more = odbc::Succeeded(api.MoreResults(stmt))) {
        int64_t rows = -1;
        if (!odbc::Succeeded(api.RowCount(stmt, rows)) || rows < 0 || changed < 0)
            changed = -1;
        else
            changed += rows;
    }
    api.CloseCursor(stmt);
    BoundRows::Unbind(api, stmt);
    if (failed) throw OdbcError(rc, std::move(failure));
    self.LinAfect = Count32(changed);
    self.Cols = 0;
    self.Lins = 0;
    comLinhas = false;
    return true;
}

void kvlRES::Impl::Executa(const std::vector<TypedValue>& valores) {
    CheckLive(*proprio);
    odbc::Api& api = *proprio->api();
    const Handle stmt = proprio->stmt();
    // What the last execution left: its bindings, its cursor.
    ReiniciaLeitura();
    api.CloseCursor(stmt);
    odbc::Return rc = parametros.Bind(api, stmt, valores);
    if (odbc::Succeeded(rc)) rc = api.Execute(stmt);
    // Forgetting the bindings clears the diagnostics: a failure's are read first.
    const bool failed = !odbc::Succeeded(rc) && rc != odbc::kNoData;
    std::vector<odbc::Diagnostic> failure;
    if (failed) failure = odbc::Diagnostics(api, 0, 0, stmt);
    api.ResetParameters(stmt);
    parametros.Clear();
    if (failed) throw OdbcError(rc, std::move(failure));

    int64_t changed = -1;
    if (!odbc::Succeeded(api.RowCount(stmt, changed))) changed = -1;
    self.LinAfect = Count32(changed);
    int16_t columns = 0;
    if (!odbc::Succeeded(api.NumResultCols(stmt, columns))) columns = 0;
    self.Cols = columns;
    self.Lins = 0;
    comLinhas = columns > 0;
}

}  // namespace kvl
