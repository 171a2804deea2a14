#pragma once
// Where the tests and the benchmarks find their databases: a folder of the process's own, a
// private driver list in it (through ODBCSYSINI, so no system file is read or changed), and
// the local PostgreSQL test database named by KVL_PG_* in the environment.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kvltest {

inline std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

// A folder of this process, removed when the process ends.
inline std::filesystem::path TestDir() {
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

// Points unixODBC at the private driver list; call before the first connect.
inline void UsePrivateOdbcIni() {
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

// The connection text of the local PostgreSQL test database; extra is appended as further
// attributes.
inline std::string PostgresConnectionText(const std::string& extra = "") {
    return "DRIVER=PostgreSQL;SERVER=" + Env("KVL_PG_SERVER", "localhost") +
           ";PORT=" + Env("KVL_PG_PORT", "5432") + ";DATABASE=" + Env("KVL_PG_DB", "kvltest") +
           ";UID=" + Env("KVL_PG_UID", "kvltest") + ";PWD=" + Env("KVL_PG_PWD", "kvltest") +
           (extra.empty() ? "" : ";" + extra);
}

}  // namespace kvltest
