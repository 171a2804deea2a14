#pragma once
// The catalog views on the test databases, applied as a user applies them: the shipped
// script run by kvlsql. On PostgreSQL the views live in the schema dbo, so a test session
// also needs dbo on its search path.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Databases.h"
#include "kvl/Text.h"

namespace kvltest {

inline std::string ShellQuoted(const std::string& s) {
    return "'" + kvl::StrSubstitui(s, "'", "'\\''", true) + "'";
}

// Runs the catalog script of the backend with kvlsql on the database the session's
// properties name; fails the test with kvlsql's output when it fails. PostgreSQL test
// processes take turns, through a lock held by the session, since the views are shared by
// the whole database.
inline void ApplyCatalogViews(kvl::kvlSERV& s, bool postgres) {
    std::string script = std::string(KVL_SOURCE_DIR) + "/sql/catalog-" +
                         (postgres ? "postgresql" : "sqlite") + ".sql";
    std::string output = (TestDir() / "kvlsql-catalog.out").string();
    std::string command = ShellQuoted(KVLSQL_PROGRAM) + " --driver " + ShellQuoted(s.Driver) +
                          " --db " + ShellQuoted(s.DB);
    if (postgres)
        command += " --server " + ShellQuoted(s.Server) + " --uid " + ShellQuoted(s.UID) +
                   " --pwd " + ShellQuoted(s.PWD);
    command += " -b -f " + ShellQuoted(script) + " >" + ShellQuoted(output) + " 2>&1";
    constexpr const char* kLock = "4261";  // any number all the test processes agree on
    if (postgres) s.Exec(std::string("SELECT pg_advisory_lock(") + kLock + ")");
    int status = std::system(command.c_str());
    if (postgres) s.Exec(std::string("SELECT pg_advisory_unlock(") + kLock + ")");
    std::stringstream said;
    said << std::ifstream(output).rdbuf();
    ASSERT_EQ(status, 0) << command << "\n" << said.str();
}

// A backend test whose database has the catalog views, and whose session sees them.
class CatalogBackendTest : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        ApplyCatalogViews(*session, IsPostgres());
        if (HasFatalFailure() || !IsPostgres()) return;
        std::string login = session->Login.substr(0, session->Login.find(";ConnSettings="));
        login += ";ConnSettings=SET search_path TO " + schema + ", dbo";
        session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                      login);
        ASSERT_TRUE(session->Aberto) << session->Login;
    }
};

}  // namespace kvltest
