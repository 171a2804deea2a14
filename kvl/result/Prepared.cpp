// kvlRES: running a prepared command with its parameters bound.

#include <algorithm>
#include <limits>

#include "ResultImpl.h"
#include "kvl/OdbcError.h"

namespace kvl {

void kvlRES::Executa(const std::vector<TypedValue>& Parametros) {
    if (!impl().proprio) throw Error(kInvalidCall);
    impl().Executa(Parametros);
}

void kvlRES::Impl::Executa(const std::vector<TypedValue>& valores) {
    if (!proprio->Live()) {
        throw OdbcError(odbc::kError, {{"08003", 0, "the connection is not open"}});
    }
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
    self.LinAfect =
        static_cast<int32_t>(std::clamp<int64_t>(changed, -1, std::numeric_limits<int32_t>::max()));
    int16_t columns = 0;
    if (!odbc::Succeeded(api.NumResultCols(stmt, columns))) columns = 0;
    self.Cols = columns;
    self.Lins = 0;
    comLinhas = columns > 0;
}

}  // namespace kvl
