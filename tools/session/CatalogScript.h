#pragma once
// The catalog views of an SQLite database, as the project ships them in
// sql/catalog-sqlite.sql, built into the program for its default database.

namespace kvlsession {

extern const char* const kCatalogSqlite;

}  // namespace kvlsession
