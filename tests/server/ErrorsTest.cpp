// Real diagnostics from PostgreSQL, and the error log file beside the library.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScriptedDialogs.h"
#include "ScriptedOdbc.h"
#include "Sessions.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"

using namespace kvl;

namespace {

class PostgresErrors : public kvltest::BackendTest {};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

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
    std::string contents = ReadFile(logFile);
    std::filesystem::remove(logFile);

    EXPECT_TRUE(r->erro);
    EXPECT_TRUE(session->erro);
    EXPECT_EQ(session->ErroN, -1);
    EXPECT_NE(Minusculas(session->ErroD).find("duplicate key"), std::string::npos)
        << session->ErroD;
    EXPECT_TRUE(dialogs->asked.empty());
    int32_t last = session->Logs(-1).ToInt32();
    bool logged = false;
    for (int16_t i = 1; i < last; ++i)
        logged |= session->Logs(i).ToString() == "Erro \t-1 - " + session->ErroD;
    EXPECT_TRUE(logged);

    // The record: an empty line, the session, the library and machine, the code, the
    // message, the command and an empty line, each ending in CR LF.
    size_t at = contents.find(command + "\r\n");
    ASSERT_NE(at, std::string::npos) << contents;
    size_t start = contents.rfind("\r\n> ", at);
    start = contents.rfind("\r\n> ", start - 1);
    ASSERT_NE(start, std::string::npos);
    std::string record = contents.substr(start, at + command.size() + 4 - start);
    std::vector<std::string> lines;
    for (size_t p = 0; p < record.size();) {
        size_t e = record.find("\r\n", p);
        lines.push_back(record.substr(p, e - p));
        p = e + 2;
    }
    ASSERT_EQ(lines.size(), 7u) << record;
    EXPECT_EQ(lines[0], "");
    EXPECT_NE(lines[1].find(" [PostgreSQL, " + session->Server + ", , " + session->DB + ", " +
                            session->UID + "]"),
              std::string::npos)
        << lines[1];
    EXPECT_EQ(lines[2], "> libkvl2005 [" + ComputadorNome() + ", " + UtilizadorNome() + "]");
    EXPECT_EQ(lines[3], "-1");
    EXPECT_EQ(lines[4], session->ErroD);
    EXPECT_EQ(lines[5], command);
    EXPECT_EQ(lines[6], "");
}

TEST_P(PostgresErrors, RefusedPermissionAndItsReset) {
    auto r = session->Exec("SELECT * FROM pg_authid");
    EXPECT_TRUE(session->erro);
    EXPECT_TRUE(session->AcessoNãoTem()) << session->ErroD;
    EXPECT_EQ(dialogs->asked.size(), 1u);  // a failure not ignored shows the dialog
    session->Exec("SELECT 1");
    EXPECT_FALSE(session->AcessoNãoTem());
}

TEST_P(PostgresErrors, SuccessWithANoticeKeepsTheNotice) {
    auto r = session->Exec("DO $$ BEGIN RAISE NOTICE 'aviso kvl'; END $$");
    EXPECT_FALSE(session->erro);
    EXPECT_EQ(session->ErroN, 1);
    EXPECT_NE(session->ErroD.find("aviso kvl"), std::string::npos) << session->ErroD;
    session->Exec("SELECT 1");
    EXPECT_EQ(session->ErroN, 0);
    EXPECT_EQ(session->ErroD, "");
}

INSTANTIATE_TEST_SUITE_P(Server, PostgresErrors, testing::Values("postgres"));

TEST(ErrorLogFile, NothingIsWrittenWhileTheFileIsMissing) {
    auto odbc = std::make_shared<kvltest::ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Dialogos = std::make_shared<kvltest::ScriptedDialogs>();
    s->Abre();
    odbc->Script("ExecDirect", {{odbc::kError, odbc::Diagnostic{"42000", 1, "x"}}});
    std::string path = kvlSERV::FicheiroDeErros();
    bool existed = PathOK(path);
    s->Exec("x");
    EXPECT_EQ(PathOK(path), existed);
}

TEST(ConnectOld, FailedConnectGoesThroughTheErrorCheck) {
    auto odbc = std::make_shared<kvltest::ScriptedOdbc>();
    auto dialogs = std::make_shared<kvltest::ScriptedDialogs>();
    auto s = kvlSERV::Create(odbc);
    s->Dialogos = dialogs;
    s->Abre();
    odbc->Script("DriverConnect",
                 {{odbc::kError, odbc::Diagnostic{"28000", 18456, "Login failed"}}});
    Handle conn = 0, stmt = 0;
    s->Conecta_old(conn, stmt);
    EXPECT_TRUE(s->erro);
    EXPECT_FALSE(s->Aberto);
    EXPECT_EQ(s->ErroD, "Login failed");
    ASSERT_EQ(dialogs->asked.size(), 1u);
    EXPECT_EQ(dialogs->asked[0].title,
              "kvlSERV - acesso a base de dados (servidor) [SQLDriverConnect]");
    odbc->FreeConnect(conn);
}
