// Exec over the scripted driver manager, which shows the texts it was given and fails on
// demand: the command run, the SQL log, the error check's dialogs and properties, the
// answers to them and to the lost-link question, and the row-count prediction.

#include <gtest/gtest.h>

#include <deque>

#include "Databases.h"
#include "kvl/kvlRES.h"

using namespace kvl;
using kvltest::TextColumn;

TEST(Exec, BlankCommandsDoNothingAndComAssemblesThePendingCommand) {
    kvltest::ScriptedSession s;
    EXPECT_EQ(s.server->Exec("   "), nullptr);
    s.server->com("SELECT a");
    s.server->com("FROM t");
    s.server->Exec("SELECT 1");  // a command given leaves the pending one alone
    EXPECT_EQ(s.server->Exec()->ActCom, " SELECT a FROM t");
    EXPECT_EQ(s.server->ActCom, "");
    s.server->ActCom = "  ";
    EXPECT_EQ(s.server->Exec(), nullptr);
    EXPECT_EQ(s.odbc->executed, (std::vector<std::string>{"SELECT 1", " SELECT a FROM t"}));
}

TEST(SqlLog, EntriesOfAnExecutionItsRowsAnErrorAndTheStack) {
    kvltest::ScriptedSession s;
    s.server->Log = true;
    auto r = s.Run(TextColumn({"1"}), "SELECT 1");
    while (r->TemLinhas()) {
    }
    std::vector<std::string> entries = kvltest::LogEntries(*s.server);
    for (std::string& e : entries)
        if (e.starts_with("Tempo\t")) {
            EXPECT_NO_THROW(std::stoi(e.substr(6))) << e;  // the milliseconds taken
            e.resize(6);
        }
    EXPECT_EQ(entries,
              (std::vector<std::string>{
                  "\t", "", "ActCom\tSELECT 1", "Indice\t1", "hConn\t" + std::to_string(r->hConn),
                  "hStmt\t" + std::to_string(r->hStmt), "Erro\tFalse", "ErroN\t0", "ErroD\t",
                  "Tempo\t", "", "Set de Resultados\t1 (i 1) ini", "Set de Resultados\t1 (i 1) fin",
                  "Tempo\t", ""}));
    r.reset();
    s.Fail(1, "42000", "falhou");
    s.server->Exec("x");
    EXPECT_EQ(std::ranges::count(kvltest::LogEntries(*s.server), "Erro \t-1 - falhou"), 1);
    int32_t before = s.server->Logs(-1).ToInt32();
    auto base = s.server->StackGetNovo(), extra = s.server->StackGetNovo();
    extra.reset();
    EXPECT_EQ(kvltest::LogEntries(*s.server, before),
              (std::vector<std::string>{"Stack + \t2", "", "Stack - \t1", ""}));
}

// 5701 (database context changed) is a success whose message is kept. Servers that give
// neither SQLSTATE 23505 nor 42501 are understood by their English text.
TEST(ErrorCheck, TheErrorDialogAndTheErrorProperties) {
    kvltest::ScriptedSession s;
    s.Fail(5701, "01000", "Changed database context to 'x'.");
    s.server->Exec("USE x");
    EXPECT_EQ(std::tuple(s.server->erro, s.server->ErroN, s.server->ErroD),
              std::tuple(false, 1, "Changed database context to 'x'."));

    s.Fail(50001, "42000", "Mensagem do servidor");
    auto r = s.server->Exec("UPDATE t SET a = 1");
    ASSERT_EQ(s.dialogs->asked.size(), 1u);
    const auto& shown = s.dialogs->asked[0];
    EXPECT_EQ(shown.title + " " + std::to_string(shown.style) + "\n" + shown.text,
              "kvlSERV - acesso a base de dados (servidor) [SQLExecDirect] 274\n"
              "-1\rMensagem do servidor\r\rUPDATE t SET a = 1");
    EXPECT_EQ(std::tuple(r->erro, r->ErroN, r->ErroD),
              std::tuple(true, -1, "Mensagem do servidor"));
    EXPECT_EQ(s.server->ErroNativo, 50001);  // beyond 16 bits

    s.server->IgDupKey = true;
    s.Fail(2601, "HY000", "Cannot insert duplicate key row");
    EXPECT_TRUE(s.server->Exec("INSERT INTO t VALUES (1)")->erro);
    s.server->ComMsg = false;  // told, not shown
    s.Fail(7, "42000", "permission denied for table t");
    s.server->Exec("SELECT * FROM t");
    EXPECT_TRUE(s.server->AcessoNãoTem());
    EXPECT_EQ(s.dialogs->asked.size(), 1u);
}

// Retry runs the command again, Abort and Ignore end with the error told. A reset link (native
// 10054, or SQLSTATE 08S01) is then asked whether to reconnect, another connection state is not.
// Yes reopens the links from the stored connection text and stack base: the command then runs
// again only on Retry, and the failure stays told after the reconnection. A reconnection the
// server refuses ends the command with its refusal.
TEST(ErrorCheck, EachAnswerEndsTheCommandOrRunsItAgain) {
    struct Case {
        int32_t native;
        const char* state;
        std::deque<int32_t> answers;
        size_t runs, opens;
        bool refused = false;
    };
    for (const Case& c : {Case{1, "42000", {kRetry}, 2, 1},
                          {1, "42000", {kAbort}, 1, 1},
                          {1, "42000", {kIgnore}, 1, 1},
                          {0, "08001", {kIgnore}, 1, 1},
                          {0, "08S01", {kIgnore, kNo}, 1, 1},
                          {10054, "HY000", {kIgnore, kYes}, 1, 2},
                          {0, "08S01", {kRetry, kYes}, 2, 2},
                          {0, "08S01", {kRetry, kYes}, 1, 2, true}}) {
        SCOPED_TRACE(std::string(c.state) + " " + std::to_string(c.answers.front()) +
                     (c.refused ? " refused" : ""));
        kvltest::ScriptedSession s;
        std::string login = s.server->Login;
        s.server->lStackBase = 2;
        s.Fail(c.native, c.state, "falhou");
        if (c.refused) s.odbc->Fail("DriverConnect", {"28000", 0, "recusada"});
        s.dialogs->answers = c.answers;
        auto r = s.Run(TextColumn({"ok"}), "SELECT c FROM t");
        EXPECT_EQ(s.dialogs->asked.size(), c.answers.size());
        EXPECT_EQ(s.odbc->executed.size(), c.runs);
        EXPECT_EQ(s.odbc->Count("AllocEnv"), c.opens);
        EXPECT_EQ(s.server->Aberto, !c.refused);
        EXPECT_EQ(s.server->Login, login);
        EXPECT_EQ(s.odbc->misuses, 0);
        if (c.refused) {
            EXPECT_TRUE(s.server->erro && r->erro);
            EXPECT_EQ(s.server->ErroD, "recusada");
            continue;
        }
        // Again on the same statement, or once on the new links' statement.
        EXPECT_EQ(std::ranges::count(s.odbc->calls, "ExecDirect(" + std::to_string(r->hStmt) +
                                                        ", SELECT c FROM t)"),
                  c.opens == 1 ? c.runs : 1);
        EXPECT_EQ(s.server->Stack(), c.opens);
        if (c.runs == 2) {
            ASSERT_TRUE(!s.server->erro && r->TemLinhas());
            EXPECT_EQ(r->Col(1).ToString(), "ok");
            continue;
        }
        EXPECT_TRUE(s.server->erro && r->erro);
        EXPECT_EQ(s.server->ErroD, "falhou");
        EXPECT_EQ(s.server->ErroNativo, c.native);
        EXPECT_EQ(r->Indice, c.opens == 1 ? 1 : 0);  // the reconnection took its slot
    }
}

// The batch needs a server that takes statements without separators, which no driver here
// is: each query's count, composed, comes first (one row per group when grouped), then the
// query's own rows.
TEST(RowCountPrediction, EachQueryIsPrecededByItsCount) {
    kvltest::ScriptedSession s;
    for (auto [command, batch] :
         {std::pair{"SELECT a, b FROM t ORDER BY a",
                    "SELECT count(a) FROM t  SELECT a, b FROM t ORDER BY a "},
          {"select * from t where x = 1",
           "SELECT count(*) from t where x = 1 SELECT * from t where x = 1 "},
          {"SELECT a FROM t SELECT b FROM u",
           "SELECT count(a) FROM t SELECT a FROM t SELECT count(b) FROM u SELECT b FROM u "},
          {"SELECT 1", "SELECT 1 SELECT 1 "},  // no FROM: one row
          {"UPDATE t SET a = 1", ""}})
        EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas(command), batch) << command;
    s.odbc->ScriptExecution({TextColumn({"12"}), TextColumn({"a", "b"})});
    std::string command = "SELECT c FROM t";
    int32_t predicted = -1;
    auto r = s.server->Exec(&command, nullptr, &predicted);
    EXPECT_EQ(predicted, 12);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "a");
    s.odbc->ScriptExecution({TextColumn({"5", "2", "7"}), TextColumn({"a", "b", "c"})});
    s.server->Exec("SELECT c FROM t GROUP BY c", nullptr, &predicted);
    EXPECT_EQ(predicted, 3);
    s.server->Exec("UPDATE t SET c = 1", nullptr, &predicted);
    EXPECT_EQ(predicted, 0);
    EXPECT_EQ(s.odbc->executed.back(), "UPDATE t SET c = 1");  // nothing to count
}

TEST(Exists, DatabaseLookupQuotesTheNameAndGivesTheSlotBack) {
    kvltest::ScriptedSession s;
    s.odbc->ScriptExecution({TextColumn({"7"})});
    Variant id;
    EXPECT_TRUE(s.server->ExisteDB("o'base", &id));
    EXPECT_EQ(id.ToString(), "7");
    EXPECT_EQ(s.odbc->executed.back(),
              "SELECT dbid FROM master.dbo.sysdatabases where name='o''base'");
    EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));
}
