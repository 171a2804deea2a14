#include "Databases.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kvltest {

namespace {

std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

// A folder of this test process, removed when the process ends.
std::filesystem::path TestDir() {
    // Never destroyed, so the removal at exit can still read it.
    static const auto* dir = [] {
        auto* d = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                            ("kvltest-" + std::to_string(getpid())));
        std::filesystem::create_directories(*d);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(TestDir(), ignored);
        });
        return d;
    }();
    return *dir;
}

// A schema of this test process, so parallel test processes never meet.
std::string Schema() {
    return "kvl_t" + std::to_string(getpid());
}

}  // namespace

void UsePrivateOdbcIni() {
    static bool done = false;
    if (done) return;
    done = true;
    auto dir = TestDir() / "odbc";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "odbcinst.ini")
        << "[SQLite3]\nDriver=" KVL_ODBC_DRIVER_DIR "/libsqlite3odbc.so\n\n"
        << "[PostgreSQL]\nDriver=" KVL_ODBC_DRIVER_DIR "/psqlodbcw.so\n";
    std::ofstream(dir / "odbc.ini");
    setenv("ODBCSYSINI", dir.c_str(), 1);
    setenv("ODBCINI", (dir / "odbc.ini").c_str(), 1);
}

SqliteFile::SqliteFile() {
    UsePrivateOdbcIni();
    static int n = 0;
    path_ = (TestDir() / ("db" + std::to_string(++n) + ".sqlite")).string();
    std::filesystem::remove(path_);
}

SqliteFile::~SqliteFile() {
    std::filesystem::remove(path_);
}

void SqliteFile::Configure(kvl::kvlSERV& s) const {
    s.Driver = "SQLite3";
    s.DB = path_;
}

bool Postgres::Available() {
    UsePrivateOdbcIni();
    static const bool available = [] {
        auto s = kvl::kvlSERV::Create();
        Configure(*s);
        s->Abre();
        return s->Aberto;
    }();
    return available;
}

void Postgres::Configure(kvl::kvlSERV& s) {
    s.Driver = "PostgreSQL";
    s.Server = Env("KVL_PG_SERVER", "localhost");
    s.DB = Env("KVL_PG_DB", "kvltest");
    s.UID = Env("KVL_PG_UID", "kvltest");
    s.PWD = Env("KVL_PG_PWD", "kvltest");
}

void BackendTest::SetUp() {
    session = kvl::kvlSERV::Create();
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
    Run("DROP SCHEMA IF EXISTS " + Schema() + " CASCADE");
    Run("CREATE SCHEMA " + Schema());
    schema = true;
    // Every slot's connection works in the schema.
    std::string login = session->Login + ";ConnSettings=SET search_path TO " + Schema();
    session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                  login);
    ASSERT_TRUE(session->Aberto) << session->Login;
}

void BackendTest::TearDown() {
    // A test that closed its session still leaves no schema behind.
    if (schema && !session->Aberto) session->Abre();
    if (schema) Run("DROP SCHEMA " + Schema() + " CASCADE");
    session.reset();
}

void BackendTest::Run(const std::string& sql) {
    auto r = session->Exec(sql);
    ASSERT_TRUE(r);
    ASSERT_FALSE(r->erro) << sql << ": " << r->ErroD;
}

}  // namespace kvltest
