#pragma once
// Real databases for the tests: SQLite files through the SQLite ODBC driver, and the
// local PostgreSQL server through psqlODBC. The drivers are named in a private
// odbcinst.ini (through ODBCSYSINI), so no system file is read or changed.

#include <memory>
#include <string>

#include "kvl/kvlSERV.h"

namespace kvltest {

// Points unixODBC at the private driver list; call before the first connect.
void UsePrivateOdbcIni();

// A fresh SQLite database file, removed when the object goes.
class SqliteFile {
  public:
    SqliteFile();
    ~SqliteFile();
    const std::string& path() const { return path_; }
    // Sets the session's connection properties for this file.
    void Configure(kvl::kvlSERV& s) const;

  private:
    std::string path_;
};

// The local PostgreSQL test database. Available() is false when it cannot be reached;
// with KVL_REQUIRE_PG set (as the test script does) that is a failure, not a skip.
struct Postgres {
    static bool Available();
    static void Configure(kvl::kvlSERV& s);
    static std::string Password();
};

}  // namespace kvltest

// Skips a PostgreSQL test when no server is reachable, unless one is required.
#define KVL_REQUIRE_POSTGRES()                                                          \
    do {                                                                                \
        if (!kvltest::Postgres::Available()) {                                          \
            if (std::getenv("KVL_REQUIRE_PG")) FAIL() << "PostgreSQL is not reachable"; \
            GTEST_SKIP() << "PostgreSQL is not reachable";                              \
        }                                                                               \
    } while (0)
