#include "TableFormat.h"

namespace kvlsql {

std::string CellText(const Cell& cell, const OutputSettings& settings) {
    if (cell) return *cell;
    return settings.nullText.value_or(settings.layout == Layout::kCsv ? "" : "NULL");
}

void PrintTable(std::ostream& out, const Table& table, const OutputSettings& settings) {
    switch (settings.layout) {
        case Layout::kAligned:
            return settings.expanded ? PrintExpanded(out, table, settings)
                                     : PrintAligned(out, table, settings);
        case Layout::kUnaligned:
            return PrintUnaligned(out, table, settings);
        case Layout::kCsv:
            return PrintCsv(out, table, settings);
    }
}

}  // namespace kvlsql
