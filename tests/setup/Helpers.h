#pragma once
// Shared by the tests that use real files: temporary folders, registry exports as
// Windows writes them, and SQLite files made and read through the SQLite ODBC driver with
// the tests' private driver list, so that no system file is needed or changed.

#include <filesystem>
#include <string>
#include <vector>

namespace setup::testing {

// A new empty folder under the temporary folder.
std::filesystem::path NewFolder();

// Text as Windows writes a version 5 registry export: UTF-16LE with a byte-order mark.
std::string Utf16Export(const std::u16string& text);

// Creates (or opens) a SQLite file and runs the statements on it; from then on the
// installer finds the SQLite driver too.
void RunOn(const std::filesystem::path& file, const std::vector<std::string>& statements);

// The rows of a query, each value as text ("NULL" for NULL), joined by "|".
std::vector<std::string> RowsOf(const std::filesystem::path& file, const std::string& query);

}  // namespace setup::testing
