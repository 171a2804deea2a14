#pragma once
// Shared by the tests that use real files: registry exports as Windows writes them, and
// SQLite files made and read through the SQLite ODBC driver with the tests' private driver
// list, so that no system file is needed or changed.

#include <filesystem>
#include <string>
#include <vector>

#include "LocalDatabases.h"
#include "platform/Odbc.h"
#include "platform/OdbcLibrary.h"

namespace setup::testing {

// Text as Windows writes a version 5 registry export: UTF-16LE with a byte-order mark.
inline std::string Utf16Export(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// The connection the installer itself makes, so any folder name works; from then on the
// installer finds the SQLite driver too.
inline odbc::Connection ConnectTo(const std::filesystem::path& file) {
    kvltest::UsePrivateOdbcIni();
    return odbc::Connection(LibraryConnectionText(kDefaultLibraryConnection, file.string()));
}

// Creates (or opens) a SQLite file and runs the statements on it.
inline void RunOn(const std::filesystem::path& file, const std::vector<std::string>& statements) {
    const odbc::Connection connection = ConnectTo(file);
    for (const std::string& statement : statements) odbc::Execute(connection, statement, {});
}

// The rows of a query, each value as text ("NULL" for NULL), joined by "|".
inline std::vector<std::string> RowsOf(const std::filesystem::path& file,
                                       const std::string& query) {
    std::vector<std::string> rows;
    for (const std::vector<odbc::Value>& row : odbc::Query(ConnectTo(file), query).rows) {
        std::string text;
        for (const odbc::Value& value : row) {
            text += (text.empty() ? "" : "|") + value.value_or("NULL");
        }
        rows.push_back(text);
    }
    return rows;
}

}  // namespace setup::testing
