#include "ResultPrinter.h"

#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

std::string Rows(int64_t n) {
    return n == 1 ? "1 row" : std::to_string(n) + " rows";
}

// The rest of the current result set: its column names and every row; cut when Ctrl-C
// stopped the reading.
Table ResultPrinter::Read(kvl::kvlRES& r, bool& cut) {
    Table t;
    for (int16_t n = 1; n <= r.Cols; ++n)
        t.columns.push_back({r.ColNome(n).ToString(), r.ColSeTipoNum(n)});
    cut = false;
    while (!(cut = interrupted_ && interrupted_()) && r.TemLinhas()) {
        auto& row = t.rows.emplace_back();
        for (int16_t n = 1; n <= r.Cols; ++n)
            row.push_back(r.ColSeNull(n) ? Cell() : Cell(r.Col(n).ToString()));
    }
    return t;
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
    Table t = Read(r, cut);
    PrintTable(out_, t, settings_);
    if (r.erro || cut) {
        if (settings_.layout == Layout::kAligned) out_ << '\n';
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
