#include "TableFormat.h"

#include <algorithm>

namespace kvlsql {

namespace {

constexpr std::string_view kNull = "NULL";

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Combining diacritical marks (U+0300 to U+036F) are two bytes from CC 80 to CD AF.
bool IsCombiningMark(std::string_view text, size_t i) {
    auto b0 = static_cast<unsigned char>(text[i]);
    return i + 1 < text.size() &&
           (b0 == 0xCC || (b0 == 0xCD && static_cast<unsigned char>(text[i + 1]) <= 0xAF));
}

std::string Shown(const Cell& cell) {
    if (!cell) return std::string(kNull);
    std::string shown;
    shown.reserve(cell->size());
    for (char c : *cell) {
        switch (c) {
            case '\n':
                shown += "\\n";
                break;
            case '\r':
                shown += "\\r";
                break;
            case '\t':
                shown += "\\t";
                break;
            default:
                shown += c;
        }
    }
    return shown;
}

void PrintLine(std::ostream& out, const std::vector<std::string>& cells,
               const std::vector<size_t>& widths, const std::vector<TableColumn>& columns) {
    for (size_t i = 0; i < cells.size(); ++i) {
        out << (i == 0 ? " " : " | ");
        std::string padding(widths[i] - DisplayWidth(cells[i]), ' ');
        bool last = i + 1 == cells.size();
        if (columns[i].rightAligned) {
            out << padding << cells[i];
        } else {
            out << cells[i] << (last ? "" : padding);
        }
    }
    out << '\n';
}

}  // namespace

size_t DisplayWidth(std::string_view text) {
    size_t width = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[i])) && !IsCombiningMark(text, i))
            ++width;
    return width;
}

void PrintTable(std::ostream& out, const Table& table) {
    std::vector<std::string> header;
    std::vector<size_t> widths;
    for (const TableColumn& c : table.columns) {
        header.push_back(c.name);
        widths.push_back(DisplayWidth(c.name));
    }
    std::vector<std::vector<std::string>> lines;
    lines.reserve(table.rows.size());
    for (const auto& row : table.rows) {
        std::vector<std::string>& line = lines.emplace_back();
        for (size_t i = 0; i < widths.size(); ++i) {
            line.push_back(Shown(i < row.size() ? row[i] : Cell()));
            widths[i] = std::max(widths[i], DisplayWidth(line.back()));
        }
    }
    PrintLine(out, header, widths, table.columns);
    for (size_t i = 0; i < widths.size(); ++i)
        out << (i ? "+" : "") << std::string(widths[i] + 2, '-');
    out << '\n';
    for (const auto& line : lines) PrintLine(out, line, widths, table.columns);
}

}  // namespace kvlsql
