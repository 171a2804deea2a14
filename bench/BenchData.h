#pragma once
// The data the benchmarks read: rows of ten columns, five texts, four numbers and a date,
// in an SQLite file and in a PostgreSQL table, prepared once per process.

#include <cstdint>
#include <optional>
#include <string>

#include "kvl/kvlSERV.h"

namespace kvlbench {

// Rows in the table on each backend; queries take the first N by id.
inline constexpr int32_t kTableRows = 1'000'000;
// Rows read by the benchmarks that compare the readers.
inline constexpr int32_t kReadRows = 100'000;

struct Backend {
    std::string name;
    std::string connectionText;  // the same text for the library and the plain loop
};

// The ten columns of the first `rows` rows, the same query text on both backends.
std::string Query(int32_t rows);

// The SQLite database with kTableRows rows, created on first use in a temporary
// folder (or at the given file, which a child process reuses).
const Backend& Sqlite();
const std::string& SqlitePath();
void UseSqliteFile(const std::string& file);

// The PostgreSQL table of kTableRows rows, created when missing; nothing when the
// server cannot be reached (KVL_PG_SERVER, KVL_PG_DB, KVL_PG_UID, KVL_PG_PWD).
const std::optional<Backend>& Postgres();

// The backend of that name ("SQLite" or "PostgreSQL"); nullptr when it cannot be reached.
const Backend* Find(const std::string& name);

// An open session on the backend; throws when it cannot be opened.
std::shared_ptr<kvl::kvlSERV> Open(const Backend& b);

}  // namespace kvlbench
