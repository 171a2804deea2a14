#pragma once
// SQLite files made and read through the SQLite ODBC driver, and a private driver
// list so that no system file is needed or changed.

#include <filesystem>
#include <string>
#include <vector>

namespace setup::testing {

// A new empty folder under the temporary folder.
std::filesystem::path NewFolder();

// Writes an odbcinst.ini in folder naming the SQLite3 driver by its library path and
// points ODBCSYSINI at it.
void UsePrivateDriverList(const std::filesystem::path& folder);

// Creates (or opens) a SQLite file and runs the statements on it.
void RunOn(const std::filesystem::path& file, const std::vector<std::string>& statements);

// The rows of a query, each value as text ("NULL" for NULL), joined by "|".
std::vector<std::string> RowsOf(const std::filesystem::path& file, const std::string& query);

}  // namespace setup::testing
