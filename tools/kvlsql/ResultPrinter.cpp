#include "ResultPrinter.h"

#include "TableFormat.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

// The rest of the current result set: its column names and every row.
Table ReadResultSet(kvl::kvlRES& r) {
    Table t;
    for (int16_t n = 1; n <= r.Cols; ++n)
        t.columns.push_back({r.ColNome(n).ToString(), r.ColSeTipoNum(n)});
    while (r.TemLinhas()) {
        auto& row = t.rows.emplace_back();
        for (int16_t n = 1; n <= r.Cols; ++n)
            row.push_back(r.ColSeNull(n) ? Cell() : Cell(r.Col(n).ToString()));
    }
    return t;
}

// Prints the current result set; false when reading it failed.
bool PrintResultSet(std::ostream& out, std::ostream& err, kvl::kvlRES& r) {
    if (r.Cols == 0) {
        out << "(" << Rows(r.LinAfect) << " affected)\n\n";
        return true;
    }
    Table t = ReadResultSet(r);
    PrintTable(out, t);
    if (r.erro) {
        out << '\n';
        err << "kvlsql: reading the rows failed after " << Rows(std::ssize(t.rows))
            << "; the result above is incomplete\n";
        return false;
    }
    out << "(" << Rows(std::ssize(t.rows)) << ")\n\n";
    return true;
}

}  // namespace

std::string Rows(int64_t n) {
    return n == 1 ? "1 row" : std::to_string(n) + " rows";
}

bool PrintResults(std::ostream& out, std::ostream& err, kvl::kvlRES& r) {
    bool more = true;
    while (more && !r.erro) {
        if (!PrintResultSet(out, err, r)) return false;
        more = r.MaisResultados();
    }
    // Moving to the next result set can fail too; that is no end of the results.
    if (r.erro) err << "kvlsql: moving to the next result set failed\n";
    return !r.erro;
}

void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s) {
    int32_t last = s.Logs(-1).ToInt32();
    for (int32_t i = 1; i <= last; ++i) out << s.Logs(i).ToString() << '\n';
}

}  // namespace kvlsql
