#include "ResultPrinter.h"

#include <algorithm>
#include <limits>

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

}  // namespace

void PrintResults(std::ostream& out, kvl::kvlRES& r) {
    do {
        if (r.Cols > 0) {
            Table t = ReadResultSet(r);
            PrintTable(out, t);
            out << "(" << t.rows.size() << " rows)\n\n";
        } else {
            out << "(" << r.LinAfect << " rows affected)\n\n";
        }
    } while (r.MaisResultados());
}

void PrintSqlLog(std::ostream& out, const kvl::kvlSERV& s) {
    int32_t last = s.Logs(-1).ToInt32();
    for (int32_t i = 1; i <= last; ++i) out << s.Logs(i).ToString() << '\n';
}

}  // namespace kvlsql
