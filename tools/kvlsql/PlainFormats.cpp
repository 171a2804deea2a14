// The layouts for other programs: unaligned fields between separators, and CSV.

#include <algorithm>

#include "TableFormat.h"

namespace kvlsql {

namespace {

// A CSV field as RFC 4180 writes it; the empty text is quoted so that it differs from
// NULL, which is an empty field.
std::string CsvField(const std::string& text) {
    bool quoted = text.empty() || text.find_first_of(",\"\r\n") != std::string::npos;
    if (!quoted) return text;
    std::string field = "\"";
    for (char c : text) field += c == '"' ? "\"\"" : std::string(1, c);
    return field + '"';
}

// NULL is an empty field, or the null text when one is given.
std::string CsvNull(const OutputSettings& settings) {
    const std::string& text = settings.nullText.value_or("");
    return text.empty() ? text : CsvField(text);
}

void PrintCsvLine(std::ostream& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << fields[i];
    out << "\r\n";
}

std::string Joined(const std::vector<std::string>& fields, const std::string& separator) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? separator : "") + fields[i];
    return line;
}

std::vector<std::string> Names(const Table& table) {
    std::vector<std::string> names;
    for (const TableColumn& c : table.columns) names.push_back(c.name);
    return names;
}

}  // namespace

void PrintUnaligned(std::ostream& out, const Table& table, const OutputSettings& settings) {
    std::vector<std::string> names = Names(table);
    if (!settings.expanded && !settings.tuplesOnly)
        out << Joined(names, settings.fieldSeparator) << '\n';
    for (size_t r = 0; r < table.rows.size(); ++r) {
        std::vector<std::string> fields;
        for (size_t i = 0; i < names.size(); ++i) {
            std::string text = CellText(table.rows[r][i], settings);
            fields.push_back(settings.expanded ? names[i] + settings.fieldSeparator + text : text);
        }
        if (settings.expanded && r > 0) out << '\n';
        out << Joined(fields, settings.expanded ? "\n" : settings.fieldSeparator) << '\n';
    }
}

void PrintCsv(std::ostream& out, const Table& table, const OutputSettings& settings) {
    std::vector<std::string> names = Names(table);
    if (!settings.tuplesOnly) {
        std::ranges::transform(names, names.begin(), CsvField);
        PrintCsvLine(out, names);
    }
    for (const auto& row : table.rows) {
        std::vector<std::string> fields;
        for (const Cell& cell : row) fields.push_back(cell ? CsvField(*cell) : CsvNull(settings));
        PrintCsvLine(out, fields);
    }
}

}  // namespace kvlsql
