// Exec: the command it runs, its error check and retry loop, its log, and the row-count
// prediction.

#include <gtest/gtest.h>

#include <set>

#include "Databases.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedSession;
using kvltest::TextColumn;

TEST(Exec, BlankCommandsDoNothingAndComAssemblesTheCommand) {
    ScriptedSession s;
    EXPECT_EQ(s.server->Exec("   "), nullptr);
    s.server->ActCom = "  ";
    EXPECT_EQ(s.server->Exec(), nullptr);
    EXPECT_TRUE(s.odbc->executed.empty());

    s.server->com("SELECT a");
    s.server->com("FROM t");
    auto r = s.server->Exec();
    EXPECT_EQ(s.odbc->executed.back(), " SELECT a FROM t");
    EXPECT_EQ(r->ActCom, " SELECT a FROM t");
    EXPECT_EQ(s.server->ActCom, "");
    s.server->com("x");
    s.server->Exec("SELECT 1");  // a command given leaves ActCom alone
    EXPECT_EQ(s.server->ActCom, " x");
}

TEST(Exec, SqlLogOfAnExecutionExactly) {
    ScriptedSession s;
    s.server->Log = true;
    int32_t before = s.server->Logs(-1).ToInt32();
    auto r = s.Run(TextColumn({"1"}), "SELECT 1");
    std::vector<std::string> entries = kvltest::LogEntries(*s.server, before);
    ASSERT_EQ(entries.size(), 12u);
    EXPECT_NO_THROW(std::stoi(entries[9].substr(6)));  // the milliseconds taken
    entries[9].resize(6);
    EXPECT_EQ(entries,
              (std::vector<std::string>{
                  "\t", "", "ActCom\tSELECT 1", "Indice\t1", "hConn\t" + std::to_string(r->hConn),
                  "hStmt\t" + std::to_string(r->hStmt), "Erro\tFalse", "ErroN\t0", "ErroD\t",
                  "Tempo\t", "", "Set de Resultados\t1 (i 1) ini"}));
}

TEST(ErrorCheck, NativeCodesAndTheErrorDialog) {
    ScriptedSession s;
    s.Fail(5701, "01000", "Changed database context to 'x'.");
    s.server->Exec("USE x");
    EXPECT_FALSE(s.server->erro);  // 5701 counts as success
    EXPECT_EQ(s.server->ErroN, 1);
    EXPECT_EQ(s.server->ErroD, "Changed database context to 'x'.");
    EXPECT_TRUE(s.dialogs->asked.empty());

    s.Fail(50001, "42000", "Mensagem do servidor");
    auto r = s.server->Exec("UPDATE t SET a = 1");
    ASSERT_EQ(s.dialogs->asked.size(), 1u);
    const auto& a = s.dialogs->asked[0];
    EXPECT_EQ(a.title, "kvlSERV - acesso a base de dados (servidor) [SQLExecDirect]");
    EXPECT_EQ(a.text, "-1\rMensagem do servidor\r\rUPDATE t SET a = 1");
    EXPECT_EQ(a.style, 274);
    EXPECT_TRUE(r->erro);
    EXPECT_EQ(r->ErroN, -1);
    EXPECT_EQ(s.server->ErroNativo, 50001);  // beyond 16 bits
}

// Each answer to the error dialog, and to the lost-link question that follows it for a
// reset link (SQLSTATE 08S01 or native 10054), ends the loop or runs the command again.
TEST(ErrorCheck, EachAnswerEndsOrRepeatsTheLoop) {
    struct Case {
        const char* what;
        int32_t native;
        const char* state;
        int failures;
        std::deque<int32_t> answers;
        bool comMsg;
        size_t runs, asked;
        bool erro;
        size_t opens;  // of the environment: 2 once reconnected
    };
    const Case cases[] = {
        {"Retry reruns", 1, "42000", 2, {kRetry, kRetry}, true, 3, 2, false, 1},
        {"Abort ends", 1, "42000", 1, {kAbort}, true, 1, 1, true, 1},
        {"Ignore ends", 1, "42000", 1, {kIgnore}, true, 1, 1, true, 1},
        {"without ComMsg, no dialog", 1, "42000", 1, {kRetry}, false, 1, 0, true, 1},
        {"08S01, No does nothing more", 0, "08S01", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"10054, No does nothing more", 10054, "HY000", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"no connection, 08003", 0, "08003", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"refused, 08007", 0, "08007", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"session ended by the server", 35, "57P01", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"server crashed", 35, "57P02", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"server starting or stopping", 35, "57P03", 1, {kIgnore, kNo}, true, 1, 2, true, 1},
        {"another state is no lost link", 0, "08001", 1, {kIgnore, kNo}, true, 1, 1, true, 1},
        {"Yes reconnects", 10054, "08S01", 1, {kIgnore, kYes}, true, 1, 2, true, 2},
        {"Retry after Yes runs anew", 10054, "08S01", 1, {kRetry, kYes}, true, 2, 2, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSession s;
        s.server->ComMsg = c.comMsg;
        for (int i = 0; i < c.failures; ++i) s.Fail(c.native, c.state);
        s.dialogs->answers = c.answers;
        auto r = s.Run(TextColumn({"ok"}), "SELECT c FROM t");
        EXPECT_EQ(s.odbc->executed.size(), c.runs);
        EXPECT_EQ(s.dialogs->asked.size(), c.asked);
        EXPECT_EQ(r->erro, c.erro);
        EXPECT_EQ(s.odbc->Count("AllocEnv"), c.opens);
        EXPECT_TRUE(s.server->Aberto);
        EXPECT_EQ(s.odbc->misuses, 0);
        // Within a session, a rerun has the same text on the same slot.
        std::set<std::string> runs;
        for (const auto& call : s.odbc->calls)
            if (call.starts_with("ExecDirect(")) runs.insert(call);
        if (c.opens == 1) {
            EXPECT_EQ(runs.size(), 1u);
        }
        if (c.erro) continue;
        ASSERT_TRUE(r->TemLinhas());
        EXPECT_EQ(r->Col(1).ToString(), "ok");
    }
}

// Duplicate keys and refused permissions are told by their state as well as by the
// English text, so a localised server and SQLite behave alike.
TEST(ErrorCheck, DuplicateKeysAndRefusedPermissionsByStateOrText) {
    struct Case {
        const char *state, *text;
        int32_t native;
        bool duplicate, refused;
    };
    const Case cases[] = {
        {"23505", "valor de chave duplicado viola a restrição", 7, true, false},
        {"S1000", "UNIQUE constraint failed: t.id (19)", 19, true, false},
        {"HY000", "Cannot insert duplicate key row", 2601, true, false},
        {"S1000", "NOT NULL constraint failed: t.a (19)", 19, false, false},
        {"42501", "permissão negada para tabela t", 7, false, true},
        {"42000", "permission denied for table t", 7, false, true},
        {"42601", "erro de sintaxe", 7, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedSession s;
        s.server->IgDupKey = true;
        s.Fail(c.native, c.state, c.text);
        s.server->Exec("INSERT INTO t VALUES (1)");
        EXPECT_TRUE(s.server->erro);
        EXPECT_EQ(s.dialogs->asked.empty(), c.duplicate);
        EXPECT_EQ(s.server->AcessoNãoTem(), c.refused);
    }
}

TEST(ErrorCheck, TheLostLinkQuestionAndAReopenFromTheStoredProperties) {
    ScriptedSession s;
    std::string login = s.server->Login;
    s.server->lStackBase = 2;
    s.Fail(10054, "08S01", "Connection reset by peer");
    s.dialogs->answers = {kIgnore, kYes};
    auto r = s.server->Exec("SELECT 1");
    ASSERT_EQ(s.dialogs->asked.size(), 2u);
    EXPECT_EQ(s.dialogs->asked[1].title, "Link Failure!");
    EXPECT_EQ(s.dialogs->asked[1].style, 36);
    EXPECT_EQ(s.dialogs->asked[1].text,
              "Parece não haver ligação ao servidor!\r\nDeseja tentar restabelecer as conexões ao "
              "servidor?\r\n\r\nIt seems that the link to the server is lost!\r\nDo you wish "
              "to try to re-establish the connections?");
    // The links were reopened, with the failure still told and the session's settings kept.
    EXPECT_TRUE(s.server->erro);
    EXPECT_EQ(s.server->ErroD, "Connection reset by peer");
    EXPECT_TRUE(s.server->Aberto);
    EXPECT_EQ(s.server->Login, login);
    EXPECT_EQ(s.server->Stack(), 2);
    // The interrupted result set lost its slot with the old session.
    EXPECT_EQ(r->Indice, 0);
    r.reset();
    EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));
}

TEST(RowCountPrediction, CountBatchesExactly) {
    ScriptedSession s(false);
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT a, b FROM t ORDER BY a", "SELECT count(a) FROM t  SELECT a, b FROM t ORDER BY a "},
        {"select * from t where x = 1",
         "SELECT count(*) from t where x = 1 SELECT * from t where x = 1 "},
        {"SELECT a FROM t SELECT b FROM u",
         "SELECT count(a) FROM t SELECT a FROM t SELECT count(b) FROM u SELECT b FROM u "},
        {"SELECT 1", "SELECT 1 SELECT 1 "},  // no FROM: one row
        {"UPDATE t SET a = 1", ""},
    };
    for (const auto& [command, batch] : cases)
        EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas(command), batch) << command;
}

TEST(RowCountPrediction, CountThenTheQuerysOwnRows) {
    ScriptedSession s;
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(std::to_string(i));
    s.odbc->ScriptExecution({TextColumn({"12"}), TextColumn(twelve)});
    std::string command = "SELECT c FROM t";
    int32_t predicted = -1;
    auto r = s.server->Exec(&command, nullptr, &predicted);
    EXPECT_EQ(predicted, 12);
    EXPECT_EQ(command, "SELECT count(c) FROM t SELECT c FROM t ");
    EXPECT_EQ(s.odbc->executed.back(), command);
    EXPECT_EQ(r->Lins, 0);
    int rows = 0;
    while (r->TemLinhas()) ++rows;
    EXPECT_EQ(rows, 12);
    EXPECT_EQ(r->Col(1).ToString(), "12");

    s.odbc->ScriptExecution({TextColumn({"5", "2", "7"}), TextColumn({"a", "b", "c"})});
    s.server->Exec("SELECT c FROM t GROUP BY c", nullptr, &predicted);
    EXPECT_EQ(predicted, 3);

    // A command without a query has nothing to count and runs as given.
    std::string update = "UPDATE t SET c = 1";
    s.server->Exec(&update, nullptr, &predicted);
    EXPECT_EQ(s.odbc->executed.back(), "UPDATE t SET c = 1");
    EXPECT_EQ(update, "UPDATE t SET c = 1");
    EXPECT_EQ(predicted, 0);
}

TEST(Exists, DatabaseLookupQuotesTheNameAndGivesTheSlotBack) {
    ScriptedSession s;
    s.odbc->ScriptExecution({TextColumn({"7"})});
    Variant id;
    EXPECT_TRUE(s.server->ExisteDB("o'base", &id));
    EXPECT_EQ(id.ToString(), "7");
    EXPECT_EQ(s.odbc->executed.back(),
              "SELECT dbid FROM master.dbo.sysdatabases where name='o''base'");
    EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));  // given back
    s.odbc->ScriptExecution({TextColumn({})});
    EXPECT_FALSE(s.server->ExisteDB("nenhuma"));
}
