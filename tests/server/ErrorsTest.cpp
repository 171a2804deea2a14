// Real diagnostics, as each driver gives them; the error log file beside the library; and
// the error check of a failed connect.

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "Databases.h"
#include "kvl/Platform.h"

using namespace kvl;
using namespace testing;

namespace {

class ServerErrors : public kvltest::BackendTest {};

}  // namespace

// SQLite's constraint failure and PostgreSQL's SQLSTATE 23505 both tell a duplicate key.
TEST_P(ServerErrors, DuplicateKeysAreNotShownWhenIgnoredAndOtherConstraintsAre) {
    Run("CREATE TABLE k (id INTEGER PRIMARY KEY, a INTEGER NOT NULL)");
    Run("INSERT INTO k VALUES (1, 1)");
    session->IgDupKey = true;
    session->Exec("INSERT INTO k VALUES (1, 2)");
    EXPECT_TRUE(session->erro);
    EXPECT_TRUE(dialogs->asked.empty()) << session->ErroD;
    session->Exec("INSERT INTO k VALUES (2, NULL)");
    EXPECT_EQ(dialogs->asked.size(), 1u) << session->ErroD;
}

// A notice is a success whose message stays until the next command, and a notice that
// mentions a refused permission is no refusal.
TEST_P(ServerErrors, ARefusedPermissionAndANotice) {
    if (!IsPostgres()) GTEST_SKIP() << "SQLite has neither permissions nor notices";
    session->Exec("SELECT * FROM pg_authid");
    EXPECT_TRUE(session->AcessoNãoTem()) << session->ErroD;
    session->Exec("DO $$ BEGIN RAISE NOTICE 'aviso kvl: permission denied'; END $$");
    EXPECT_EQ(std::tuple(session->erro, session->AcessoNãoTem(), session->ErroN),
              std::tuple(false, false, 1));
    EXPECT_THAT(session->ErroD, HasSubstr("aviso kvl"));
    session->Exec("SELECT 1");
    EXPECT_EQ(std::tuple(session->ErroN, session->ErroD), std::tuple(0, ""));
}

// Another thread stops a long command; a session at rest is left as it is.
TEST_P(ServerErrors, CancelaStopsTheCommandRunningOnAnotherThread) {
    session->Cancela();
    Run("SELECT 1");
    std::string endless = IsPostgres() ? "SELECT pg_sleep(60)"
                                       : "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                                         "SELECT x + 1 FROM c) SELECT count(*) FROM c";
    std::atomic<bool> done = false;
    std::thread canceller([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            session->Cancela();
        }
    });
    auto r = session->Exec(endless);
    done = true;
    canceller.join();
    EXPECT_TRUE(r->erro);
    EXPECT_EQ(session->ErroEstado(), IsPostgres() ? "57014" : "S1000") << session->ErroD;
    EXPECT_THAT(session->ErroD, HasSubstr(IsPostgres() ? "canceling statement" : "interrupted"));
    r->Liberta();
    Run("SELECT 1");
}

KVL_BACKENDS(ServerErrors);

// The file is created by an administrator to switch the log on; each failure then appends
// a record of CR LF lines: blank, the session, the library and machine, the code, the
// message, the command, blank.
TEST(ErrorLogFile, ARecordPerFailureOnlyWhileTheFileExists) {
    kvltest::ScriptedSession s;
    s.server->Driver = "Drv";
    s.server->DB = "base";
    s.server->UID = "eu";
    const std::string path = kvlSERV::FicheiroDeErros();
    const std::string command = "INSERT INTO k VALUES (1) /* " + std::to_string(getpid()) + " */";
    ASSERT_FALSE(path.empty());
    if (!PathOK(path)) {
        s.Fail(1);
        s.server->Exec(command);
        EXPECT_FALSE(PathOK(path));
    }
    std::ofstream(path, std::ios::app).flush();
    s.Fail(1, "42000", "falhou");
    s.server->Exec(command);
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    std::filesystem::remove(path);
    EXPECT_THAT(text.str(),
                ContainsRegex("\r\n> [0-9/]{10} [0-9:]{8} \\[Drv, , , base, eu\\]\r\n> "));
    EXPECT_THAT(text.str(),
                HasSubstr(" [Drv, , , base, eu]\r\n> libkvl2005 [" + ComputadorNome() + ", " +
                          UtilizadorNome() + "]\r\n-1\r\nfalhou\r\n" + command + "\r\n\r\n"));
}

TEST(ConnectOld, AFailedConnectGoesThroughTheErrorCheck) {
    kvltest::ScriptedSession s;
    s.odbc->Fail("DriverConnect", {"28000", 18456, "Login failed"});
    Handle conn = 0, stmt = 0;
    s.server->Conecta_old(conn, stmt);
    EXPECT_EQ(std::tuple(s.server->erro, s.server->Aberto, s.server->ErroD),
              std::tuple(true, false, "Login failed"));
    ASSERT_EQ(s.dialogs->asked.size(), 1u);
    EXPECT_EQ(s.dialogs->asked[0].title,
              "kvlSERV - acesso a base de dados (servidor) [SQLDriverConnect]");
    s.odbc->FreeConnect(conn);
}
