#pragma once
// Aligned text tables, as a database client prints its result sets.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
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

// Columns a text takes on a terminal: one per character, none for combining accents.
size_t DisplayWidth(std::string_view text);

// The header, a rule, then one line per row; each column as wide as its widest entry.
// Line breaks and tabs inside values are shown escaped so the columns stay aligned.
void PrintTable(std::ostream& out, const Table& table);

}  // namespace kvlsql
