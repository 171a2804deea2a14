#pragma once
// Real databases for the tests: SQLite files through the SQLite ODBC driver, and the
// local PostgreSQL server through psqlODBC (see LocalDatabases.h).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "LocalDatabases.h"
#include "Scripted.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

// Skips a PostgreSQL test when no server is reachable, unless one is required (as the
// test script does by setting KVL_REQUIRE_PG).
#define KVL_REQUIRE_POSTGRES()                                                          \
    do {                                                                                \
        if (!kvltest::Postgres::Available()) {                                          \
            if (std::getenv("KVL_REQUIRE_PG")) FAIL() << "PostgreSQL is not reachable"; \
            GTEST_SKIP() << "PostgreSQL is not reachable";                              \
        }                                                                               \
    } while (0)

#define KVL_BACKENDS(suite) \
    INSTANTIATE_TEST_SUITE_P(Drivers, suite, testing::Values("sqlite", "postgres"))

namespace kvltest {

// A fresh SQLite database file, removed when the object goes.
class SqliteFile {
  public:
    SqliteFile() {
        UsePrivateOdbcIni();
        static int n = 0;
        path_ = (TestDir() / ("db" + std::to_string(++n) + ".sqlite")).string();
        std::filesystem::remove(path_);
    }
    ~SqliteFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }
    // Sets the session's connection properties for this file.
    void Configure(kvl::kvlSERV& s) const {
        s.Driver = "SQLite3";
        s.DB = path_;
    }

  private:
    std::string path_;
};

// The local PostgreSQL test database.
struct Postgres {
    static void Configure(kvl::kvlSERV& s) {
        s.Driver = "PostgreSQL";
        s.Server = Env("KVL_PG_SERVER", "localhost");
        s.DB = Env("KVL_PG_DB", "kvltest");
        s.UID = Env("KVL_PG_UID", "kvltest");
        s.PWD = Env("KVL_PG_PWD", "kvltest");
    }
    static bool Available() {
        UsePrivateOdbcIni();
        static const bool available = [] {
            auto s = kvl::kvlSERV::Create();
            Configure(*s);
            s->Abre();
            return s->Aberto;
        }();
        return available;
    }
};

// A test parameterised by backend ("sqlite", "postgres"), with an open session whose
// dialogs are scripted. On PostgreSQL it works in an empty schema of its own, so
// parallel test processes never meet.
class BackendTest : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        session->Dialogos = dialogs;
        if (IsPostgres()) {
            KVL_REQUIRE_POSTGRES();
            Postgres::Configure(*session);
        } else {
            file.Configure(*session);
        }
        session->Abre();
        ASSERT_TRUE(session->Aberto) << session->Login;
        if (!IsPostgres()) return;
        std::string name = "kvl_t" + std::to_string(getpid());
        Run("DROP SCHEMA IF EXISTS " + name + " CASCADE");
        Run("CREATE SCHEMA " + name);
        schema = name;
        std::string login = session->Login + ";ConnSettings=SET search_path TO " + schema;
        session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                      login);
        ASSERT_TRUE(session->Aberto) << session->Login;
    }
    void TearDown() override {
        if (schema.empty()) return;
        if (!session->Aberto) session->Abre();  // a test that closed it leaves no schema
        Run("DROP SCHEMA " + schema + " CASCADE");
    }
    bool IsPostgres() const { return GetParam() == "postgres"; }
    // Runs a command that must succeed.
    void Run(const std::string& sql) {
        auto r = session->Exec(sql);
        ASSERT_TRUE(r);
        ASSERT_FALSE(r->erro) << sql << ": " << r->ErroD;
    }

    SqliteFile file;
    std::shared_ptr<kvl::kvlSERV> session = kvl::kvlSERV::Create();
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::string schema;  // made on PostgreSQL, dropped at the end
};

// The session's SQL log entries after the first `after`.
inline std::vector<std::string> LogEntries(const kvl::kvlSERV& s, int32_t after = 0) {
    std::vector<std::string> entries;
    for (int32_t i = after + 1; i <= s.Logs(-1).ToInt32(); ++i)
        entries.push_back(s.Logs(i).ToString());
    return entries;
}

// Whether a slot of the session's statement stack is reserved.
inline bool SlotBusy(const kvl::kvlSERV& s, int16_t slot) {
    bool busy = false;
    s.StackItemGet(slot, busy);
    return busy;
}

using TypedTable = std::vector<std::vector<kvl::TypedValue>>;

// The rows left in r, read typed.
inline TypedTable TypedRowsOf(kvl::kvlRES& r) {
    TypedTable rows;
    while (r.TemLinhasTipadas()) {
        auto& row = rows.emplace_back();
        for (int16_t n = 1; n <= r.Cols; ++n) row.push_back(r.ColTipada(n));
    }
    return rows;
}

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
