#pragma once
// Shared by the tests that use real files: temporary folders, registry exports as
// Windows writes them, error numbers, and SQLite files made and read through the SQLite
// ODBC driver with a private driver list, so that no system file is needed or changed.

#include <filesystem>
#include <string>
#include <vector>

#include "kvl/Error.h"

namespace setup::testing {

// A new empty folder under the temporary folder.
std::filesystem::path NewFolder();

// Text as Windows writes a version 5 registry export: UTF-16LE with a byte-order mark.
std::string Utf16Export(const std::u16string& text);

// The number of the kvl::Error the action throws; 0 when it throws none.
template <typename Action>
int32_t ErrorOf(Action action) {
    try {
        action();
    } catch (const kvl::Error& error) {
        return error.number();
    }
    return 0;
}

// Writes an odbcinst.ini in folder naming the SQLite3 driver by its library path and
// points ODBCSYSINI at it.
void UsePrivateDriverList(const std::filesystem::path& folder);

// Creates (or opens) a SQLite file and runs the statements on it.
void RunOn(const std::filesystem::path& file, const std::vector<std::string>& statements);

// The rows of a query, each value as text ("NULL" for NULL), joined by "|".
std::vector<std::string> RowsOf(const std::filesystem::path& file, const std::string& query);

}  // namespace setup::testing
