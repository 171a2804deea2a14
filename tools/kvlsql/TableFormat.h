#pragma once
// Result sets laid out as text: aligned tables as a database client prints them, one
// record after another (expanded display), unaligned fields, or CSV.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kvlsql {

struct TableColumn {
    std::string name;
    bool rightAligned = false;  // numbers line up on their last digit
};

using Cell = std::optional<std::string>;  // no value: NULL

struct Table {
    std::vector<TableColumn> columns;
    std::vector<std::vector<Cell>> rows;
};

enum class Layout { kAligned, kUnaligned, kCsv };

struct OutputSettings {
    Layout layout = Layout::kAligned;
    bool expanded = false;             // one field a line, record after record
    bool tuplesOnly = false;           // rows only: no header, no footer
    std::string fieldSeparator = "|";  // between the fields of an unaligned line
    // How NULL shows; CSV shows it as an empty field unless one is given.
    std::optional<std::string> nullText;
};

// The table's header (unless tuplesOnly) and rows, laid out as settings say:
// - aligned: each column as wide as its widest entry on a terminal, line breaks and tabs
//   inside values shown escaped; expanded, a "-[ RECORD n ]" rule and a line per field;
// - unaligned: fields as they are, between separators; expanded, a line per field and a
//   blank line between records;
// - CSV (RFC 4180): records ended by CR LF, a field quoted when it holds a comma, a quote,
//   a line break or nothing (so the empty text differs from NULL), quotes doubled.
void PrintTable(std::ostream& out, const Table& table, const OutputSettings& settings);

// How a cell shows: its text, or the null text of the settings.
std::string CellText(const Cell& cell, const OutputSettings& settings);

// The aligned layouts (AlignedFormat.cpp) and the plain ones (PlainFormats.cpp).
void PrintAligned(std::ostream& out, const Table& table, const OutputSettings& settings);
void PrintExpanded(std::ostream& out, const Table& table, const OutputSettings& settings);
void PrintUnaligned(std::ostream& out, const Table& table, const OutputSettings& settings);
void PrintCsv(std::ostream& out, const Table& table, const OutputSettings& settings);

}  // namespace kvlsql
