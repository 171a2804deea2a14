// The aligned layouts: a table with a header and a rule, or one record after another.

#include <algorithm>

#include "TableFormat.h"
#include "TextWidth.h"

namespace kvlsql {

namespace {

// A value on one line: line breaks and tabs would break the columns, so they show escaped.
std::string OneLine(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
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

std::string Padding(size_t width, const std::string& text) {
    return std::string(width - std::min(width, DisplayWidth(text)), ' ');
}

// Every cell padded to its column's width, so every line is as wide as the rule under
// the header.
void PrintLine(std::ostream& out, const std::vector<std::string>& cells,
               const std::vector<size_t>& widths, const std::vector<TableColumn>& columns) {
    for (size_t i = 0; i < cells.size(); ++i) {
        out << (i == 0 ? " " : " | ");
        std::string padding = Padding(widths[i], cells[i]);
        out << (columns[i].rightAligned ? padding + cells[i] : cells[i] + padding);
    }
    out << " \n";
}

// Every cell as it shows, row by row.
std::vector<std::vector<std::string>> ShownRows(const Table& table, const OutputSettings& s) {
    std::vector<std::vector<std::string>> lines;
    lines.reserve(table.rows.size());
    for (const auto& row : table.rows) {
        std::vector<std::string>& line = lines.emplace_back();
        for (size_t i = 0; i < table.columns.size(); ++i)
            line.push_back(OneLine(CellText(i < row.size() ? row[i] : Cell(), s)));
    }
    return lines;
}

size_t WidestOf(const std::vector<std::string>& texts) {
    size_t widest = 0;
    for (const std::string& t : texts) widest = std::max(widest, DisplayWidth(t));
    return widest;
}

// "-[ RECORD n ]" and a rule as wide as the lines under it, with "+" where the names end
// when the label leaves room for it.
std::string RecordRule(size_t n, size_t nameWidth, size_t valueWidth) {
    std::string rule = "-[ RECORD " + std::to_string(n) + " ]";
    size_t width = nameWidth + 3 + valueWidth;
    if (rule.size() <= nameWidth) rule += std::string(nameWidth + 1 - rule.size(), '-') + '+';
    return rule + std::string(width - std::min(width, rule.size()), '-');
}

}  // namespace

void PrintAligned(std::ostream& out, const Table& table, const OutputSettings& settings) {
    std::vector<std::vector<std::string>> lines = ShownRows(table, settings);
    std::vector<std::string> header;
    std::vector<size_t> widths;
    for (const TableColumn& c : table.columns) {
        header.push_back(c.name);
        widths.push_back(DisplayWidth(c.name));
    }
    for (const auto& line : lines)
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    if (!settings.tuplesOnly) {
        PrintLine(out, header, widths, table.columns);
        for (size_t i = 0; i < widths.size(); ++i)
            out << (i ? "+" : "") << std::string(widths[i] + 2, '-');
        out << '\n';
    }
    for (const auto& line : lines) PrintLine(out, line, widths, table.columns);
}

void PrintExpanded(std::ostream& out, const Table& table, const OutputSettings& settings) {
    std::vector<std::vector<std::string>> lines = ShownRows(table, settings);
    std::vector<std::string> names;
    for (const TableColumn& c : table.columns) names.push_back(c.name);
    size_t nameWidth = WidestOf(names);
    size_t valueWidth = 0;
    for (const auto& line : lines) valueWidth = std::max(valueWidth, WidestOf(line));
    for (size_t r = 0; r < lines.size(); ++r) {
        if (!settings.tuplesOnly) {
            out << RecordRule(r + 1, nameWidth, valueWidth) << '\n';
        } else if (r > 0) {
            out << '\n';
        }
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& value = lines[r][i];
            out << names[i] << Padding(nameWidth, names[i]) << " |" << (value.empty() ? "" : " ")
                << value << '\n';
        }
    }
}

}  // namespace kvlsql
