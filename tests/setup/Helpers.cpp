#include "Helpers.h"

#include "LocalDatabases.h"
#include "platform/Odbc.h"
#include "platform/OdbcLibrary.h"

namespace fs = std::filesystem;

namespace setup::testing {

fs::path NewFolder() {
    std::string pattern = (fs::temp_directory_path() / "setup-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

std::string Utf16Export(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

namespace {

// The connection the installer itself makes, so any folder name works.
std::string ConnectionTo(const fs::path& file) {
    kvltest::UsePrivateOdbcIni();
    return LibraryConnectionText(kDefaultLibraryConnection, file.string());
}

}  // namespace

void RunOn(const fs::path& file, const std::vector<std::string>& statements) {
    const odbc::Connection connection(ConnectionTo(file));
    for (const std::string& statement : statements) odbc::Execute(connection, statement, {});
}

std::vector<std::string> RowsOf(const fs::path& file, const std::string& query) {
    const odbc::Connection connection(ConnectionTo(file));
    std::vector<std::string> rows;
    for (const std::vector<odbc::Value>& row : odbc::Query(connection, query).rows) {
        std::string text;
        for (const odbc::Value& value : row) {
            text += (text.empty() ? "" : "|") + value.value_or("NULL");
        }
        rows.push_back(text);
    }
    return rows;
}

}  // namespace setup::testing
