// Real diagnostics from PostgreSQL, the error log file beside the library, and the
// error check of a failed connect.

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Databases.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"

using namespace kvl;
using namespace testing;

namespace {

class PostgresErrors : public kvltest::BackendTest {};

// The lines of a file that end in CR LF.
std::vector<std::string> CrLfLines(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    std::string text = s.str();
    std::vector<std::string> lines;
    for (size_t p = 0, e; (e = text.find("\r\n", p)) != std::string::npos; p = e + 2)
        lines.push_back(text.substr(p, e - p));
    return lines;
}

}  // namespace

class DuplicateKeys : public kvltest::BackendTest {};

TEST_P(DuplicateKeys, AreRecognisedOnEveryDriver) {
    Run("CREATE TABLE k (id INTEGER PRIMARY KEY, a INTEGER NOT NULL)");
    Run("INSERT INTO k VALUES (1, 1)");
    session->IgDupKey = true;
    session->Exec("INSERT INTO k VALUES (1, 2)");
    EXPECT_TRUE(session->erro);
    EXPECT_TRUE(dialogs->asked.empty()) << session->ErroD;
    session->Exec("INSERT INTO k VALUES (2, NULL)");  // another constraint is shown
    EXPECT_EQ(dialogs->asked.size(), 1u) << session->ErroD;
}

KVL_BACKENDS(DuplicateKeys);

TEST_P(PostgresErrors, DuplicateKeyIgnoredInTheDialogButRecorded) {
    std::string logFile = kvlSERV::FicheiroDeErros();
    ASSERT_FALSE(logFile.empty());
    std::ofstream(logFile, std::ios::app).flush();  // creating it switches the file log on
    Run("CREATE TABLE k (id INTEGER PRIMARY KEY)");
    Run("INSERT INTO k VALUES (1)");
    session->IgDupKey = true;
    session->Log = true;
    std::string command = "INSERT INTO k VALUES (1) /* dup-" + std::to_string(getpid()) + " */";
    auto r = session->Exec(command);
    std::vector<std::string> lines = CrLfLines(logFile);
    std::filesystem::remove(logFile);

    EXPECT_TRUE(r->erro);
    EXPECT_TRUE(session->erro);
    EXPECT_EQ(session->ErroN, -1);
    EXPECT_THAT(Minusculas(session->ErroD), HasSubstr("duplicate key"));
    EXPECT_TRUE(dialogs->asked.empty());
    EXPECT_TRUE(std::ranges::count(kvltest::LogEntries(*session), "Erro \t-1 - " + session->ErroD));

    // The record: an empty line, the session, the library and machine, the code, the
    // message, the command and an empty line, each ending in CR LF.
    auto at = std::find(lines.begin(), lines.end(), command);
    ASSERT_TRUE(at - lines.begin() >= 5 && at + 1 < lines.end());
    EXPECT_EQ(at[-5], "");
    EXPECT_THAT(at[-4],
                AllOf(StartsWith("> "), EndsWith(" [PostgreSQL, " + session->Server + ", , " +
                                                 session->DB + ", " + session->UID + "]")));
    EXPECT_EQ(std::vector(at - 3, at + 2),
              (std::vector<std::string>{
                  "> libkvl2005 [" + ComputadorNome() + ", " + UtilizadorNome() + "]", "-1",
                  session->ErroD, command, ""}));
}

TEST_P(PostgresErrors, RefusedPermissionAndANotice) {
    session->Exec("SELECT * FROM pg_authid");
    EXPECT_TRUE(session->erro);
    EXPECT_TRUE(session->AcessoNãoTem()) << session->ErroD;
    EXPECT_EQ(dialogs->asked.size(), 1u);  // a failure not ignored shows the dialog

    // A success with a notice keeps the notice, until the next command; a notice that
    // mentions a refused permission is still no refusal.
    session->Exec("DO $$ BEGIN RAISE NOTICE 'aviso kvl: permission denied'; END $$");
    EXPECT_FALSE(session->AcessoNãoTem());
    EXPECT_FALSE(session->erro);
    EXPECT_EQ(session->ErroN, 1);
    EXPECT_THAT(session->ErroD, HasSubstr("aviso kvl"));
    session->Exec("SELECT 1");
    EXPECT_EQ(session->ErroN, 0);
    EXPECT_EQ(session->ErroD, "");
}

INSTANTIATE_TEST_SUITE_P(Server, PostgresErrors, testing::Values("postgres"));

TEST(ErrorLogFile, NothingIsWrittenWhileTheFileIsMissing) {
    kvltest::ScriptedSession s;
    s.Fail(1);
    std::string path = kvlSERV::FicheiroDeErros();
    bool existed = PathOK(path);
    s.server->Exec("x");
    EXPECT_EQ(PathOK(path), existed);
}

TEST(ConnectOld, FailedConnectGoesThroughTheErrorCheck) {
    kvltest::ScriptedSession s;
    s.odbc->Fail("DriverConnect", {"28000", 18456, "Login failed"});
    Handle conn = 0, stmt = 0;
    s.server->Conecta_old(conn, stmt);
    EXPECT_TRUE(s.server->erro);
    EXPECT_FALSE(s.server->Aberto);
    EXPECT_EQ(s.server->ErroD, "Login failed");
    ASSERT_EQ(s.dialogs->asked.size(), 1u);
    EXPECT_EQ(s.dialogs->asked[0].title,
              "kvlSERV - acesso a base de dados (servidor) [SQLDriverConnect]");
    s.odbc->FreeConnect(conn);
}
