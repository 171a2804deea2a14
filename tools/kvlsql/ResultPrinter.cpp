#include "ResultPrinter.h"

#include "ValueText.h"
#include "kvl/OdbcError.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

std::string FirstMessage(const kvl::OdbcError& e) {
    std::vector<kvl::odbc::Diagnostic> records = e.diagnostics();
    return records.empty() ? e.description() : records.front().message;
}

}  // namespace

std::string Rows(int64_t n) {
    return n == 1 ? "1 row" : std::to_string(n) + " rows";
}

// The rest of the current result set into t, typed: its column names and every row; cut
// when Ctrl-C stopped the reading. A failure to read is thrown as kvl::OdbcError, the rows
// read before it in t.
void ResultPrinter::Read(kvl::kvlRES& r, Table& t, bool& cut) {
    for (int16_t n = 1; n <= r.Cols; ++n) {
        const kvl::odbc::ColumnDescription& column = r.ColDescrição(n);
        t.columns.push_back({column.name, IsNumberType(column.sqlType)});
    }
    cut = false;
    while (!(cut = interrupted_ && interrupted_()) && r.TemLinhasTipadas()) {
        auto& row = t.rows.emplace_back();
        for (int16_t n = 1; n <= r.Cols; ++n) row.push_back(ValueText(r.ColTipada(n)));
    }
}

void PrintFooter(std::ostream& out, const OutputSettings& settings, const std::string& text) {
    if (settings.tuplesOnly || settings.layout == Layout::kCsv) return;
    out << "(" << text << ")\n" << (settings.layout == Layout::kAligned ? "\n" : "");
}

// Prints the current result set; false when reading it failed or was interrupted.
bool ResultPrinter::PrintResultSet(kvl::kvlRES& r) {
    if (r.Cols == 0) {
        PrintFooter(out_, settings_, Rows(r.LinAfect) + " affected");
        return true;
    }
    bool cut = false;
    Table t;
    std::optional<kvl::OdbcError> failure;
    try {
        Read(r, t, cut);
    } catch (const kvl::OdbcError& e) {
        failure = e;
    }
    PrintTable(out_, t, settings_);
    if (failure || cut) {
        if (settings_.layout == Layout::kAligned) out_ << '\n';
        if (failure) tell_.DriverError(failure->state(), FirstMessage(*failure));
        err_ << "kvlsql: " << (cut ? "interrupted" : "reading the rows failed") << " after "
             << Rows(std::ssize(t.rows)) << "; the result above is incomplete\n";
        return false;
    }
    PrintFooter(out_, settings_, Rows(std::ssize(t.rows)));
    return true;
}

bool ResultPrinter::Print(kvl::kvlRES& r) {
    bool more = true;
    while (more && !r.erro) {
        if (!PrintResultSet(r)) return false;
        more = r.MaisResultados();
    }
    // Moving to the next result set can fail too; that is no end of the results.
    if (r.erro) err_ << "kvlsql: moving to the next result set failed\n";
    return !r.erro;
}

void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s) {
    int32_t last = s.Logs(-1).ToInt32();
    for (int32_t i = 1; i <= last; ++i) out << s.Logs(i).ToString() << '\n';
}

}  // namespace kvlsql
