#pragma once
// The embedded default database: an SQLite file in the user's data folder, holding a
// small sample of municipal street data so a first session has something to query.

#include <filesystem>

namespace kvl {
class kvlSERV;
}

namespace kvlsession {

// The ODBC driver name the default database is opened through.
inline constexpr const char* kSampleDriver = "SQLite3";

// $XDG_DATA_HOME/kvl2005/kvlsql.sqlite, or ~/.local/share/kvl2005/kvlsql.sqlite.
std::filesystem::path DefaultDatabasePath();

// Creates the database file with the sample and the catalog views when it does not exist
// yet; an existing file is left as it is. The file appears whole or not at all: it is
// built under a temporary name and renamed. Throws std::runtime_error with the reason on
// failure.
void EnsureSampleDatabase(const std::filesystem::path& file);

// Creates the sample tables with their rows, the permission and position tables with the
// sample's rights, and the field dictionary with the titles of the sample's fields
// (kvlCAMPOS), in the database of the open session: the SQLite file, or a server's database
// (PostgreSQL: the first schema of the search path). Throws std::runtime_error with the
// failed statement on failure, so the session's messages are best kept off.
void CreateSampleTables(kvl::kvlSERV& s);

// Gives an existing database file the catalog views it lacks (one made before they were
// part of the sample). Throws std::runtime_error with the reason on failure.
void AddMissingCatalogViews(const std::filesystem::path& file);

// Gives an existing database file the permission and window-position tables (kvlPERM,
// kvlPOS) when it has neither, with the sample's rights, and the field dictionary
// (kvlCAMPOS) when it has none. Throws std::runtime_error with the reason on failure.
void AddMissingApplicationTables(const std::filesystem::path& file);

}  // namespace kvlsession
