#pragma once
// Real databases for the tests: SQLite files through the SQLite ODBC driver, and the
// local PostgreSQL server through psqlODBC. The drivers are named in a private
// odbcinst.ini (through ODBCSYSINI), so no system file is read or changed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Scripted.h"
#include "kvl/Error.h"
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
};

// A test parameterised by backend ("sqlite", "postgres"), with an open session whose
// dialogs are scripted. On PostgreSQL it works in an empty schema of its own.
class BackendTest : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override;
    void TearDown() override;
    bool IsPostgres() const { return GetParam() == "postgres"; }
    // Runs a command that must succeed.
    void Run(const std::string& sql);

    SqliteFile file;
    std::shared_ptr<kvl::kvlSERV> session;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    bool schema = false;  // made on PostgreSQL, dropped at the end
};

// The number of the kvl::Error that f throws; 0 when it throws none.
int32_t ErrorOf(auto&& f) {
    try {
        f();
    } catch (const kvl::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace kvltest

// Skips a PostgreSQL test when no server is reachable, unless one is required.
#define KVL_REQUIRE_POSTGRES()                                                          \
    do {                                                                                \
        if (!kvltest::Postgres::Available()) {                                          \
            if (std::getenv("KVL_REQUIRE_PG")) FAIL() << "PostgreSQL is not reachable"; \
            GTEST_SKIP() << "PostgreSQL is not reachable";                              \
        }                                                                               \
    } while (0)

#define KVL_BACKENDS(suite) \
    INSTANTIATE_TEST_SUITE_P(Drivers, suite, testing::Values("sqlite", "postgres"))
