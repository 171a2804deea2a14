// Exec: the command it runs, its retry loop and logs, and the row-count prediction.

#include <gtest/gtest.h>

#include "ScriptedDialogs.h"
#include "ScriptedOdbc.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedDialogs;
using kvltest::ScriptedOdbc;

namespace {

struct Scripted {
    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<kvlSERV> server = kvlSERV::Create(odbc);
    Scripted() {
        server->Dialogos = dialogs;
        server->Abre();
    }
    void Fail(int32_t native, const char* state = "42000", const char* text = "falhou") {
        odbc->Script("ExecDirect", {{odbc::kError, odbc::Diagnostic{state, native, text}}});
    }
    static ScriptedOdbc::Result Column(std::vector<std::string> values) {
        ScriptedOdbc::Result r;
        r.columns = {{"c", 12, 10, 0, 1}};
        for (auto& v : values) r.rows.push_back({v});
        return r;
    }
};

}  // namespace

TEST(Exec, BlankCommandDoesNothing) {
    Scripted s;
    s.server->erro = true;
    s.server->ErroD = "before";
    s.server->Log = true;
    int32_t entries = s.server->Logs(-1).ToInt32();
    EXPECT_EQ(s.server->Exec("   "), nullptr);
    s.server->ActCom = "  ";
    EXPECT_EQ(s.server->Exec(), nullptr);
    EXPECT_EQ(s.server->ActCom, "");
    EXPECT_TRUE(s.server->erro);
    EXPECT_EQ(s.server->ErroD, "before");
    EXPECT_EQ(s.server->Logs(-1).ToInt32(), entries);
    EXPECT_TRUE(s.odbc->executed.empty());
}

TEST(Exec, CommandAssembledWithCom) {
    Scripted s;
    s.server->com("SELECT a");
    s.server->com("FROM t");
    auto r = s.server->Exec();
    ASSERT_TRUE(r);
    EXPECT_EQ(s.odbc->executed.back(), " SELECT a FROM t");
    EXPECT_EQ(r->ActCom, " SELECT a FROM t");
    EXPECT_EQ(s.server->ActCom, "");
    // A command given leaves ActCom alone.
    s.server->com("x");
    s.server->Exec("SELECT 1");
    EXPECT_EQ(s.server->ActCom, " x");
}

TEST(Exec, SqlLogOfAnExecution) {
    Scripted s;
    s.server->Log = true;
    int32_t base = s.server->Logs(-1).ToInt32();
    s.odbc->ScriptExecution({Scripted::Column({"1"})});
    auto r = s.server->Exec("SELECT 1");
    auto at = [&](int i) { return s.server->Logs(static_cast<int16_t>(base + i)).ToString(); };
    EXPECT_EQ(at(1), "\t");
    EXPECT_EQ(at(2), "");
    EXPECT_EQ(at(3), "ActCom\tSELECT 1");
    EXPECT_EQ(at(4), "Indice\t1");
    EXPECT_EQ(at(5), "hConn\t" + std::to_string(r->hConn));
    EXPECT_EQ(at(6), "hStmt\t" + std::to_string(r->hStmt));
    EXPECT_EQ(at(7), "Erro\tFalse");
    EXPECT_EQ(at(8), "ErroN\t0");
    EXPECT_EQ(at(9), "ErroD\t");
    EXPECT_EQ(at(10).rfind("Tempo\t", 0), 0u);
    EXPECT_NO_THROW(std::stoi(at(10).substr(6)));
    EXPECT_EQ(at(11), "");
    EXPECT_EQ(at(12), "Set de Resultados\t1 (i 1) ini");
    EXPECT_EQ(s.server->Logs(-1).ToInt32(), base + 12);
}

TEST(ErrorCheck, DatabaseContextNoticeCountsAsSuccess) {
    Scripted s;
    s.Fail(5701, "01000", "Changed database context to 'x'.");
    auto r = s.server->Exec("USE x");
    EXPECT_FALSE(s.server->erro);
    EXPECT_EQ(s.server->ErroN, 1);
    EXPECT_EQ(s.server->ErroD, "Changed database context to 'x'.");
    EXPECT_EQ(s.server->ErroNativo, 5701);
    EXPECT_TRUE(s.dialogs->asked.empty());
}

TEST(ErrorCheck, DialogTitleTextAndStyle) {
    Scripted s;
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
    EXPECT_EQ(r->Cols, 0);
}

TEST(ErrorCheck, RetryRerunsTheSameTextOnTheSameSlot) {
    Scripted s;
    s.Fail(1);
    s.Fail(1);
    s.dialogs->answers = {kRetry, kRetry};
    s.odbc->ScriptExecution({Scripted::Column({"ok"})});
    auto r = s.server->Exec("SELECT c FROM t");
    ASSERT_EQ(s.odbc->executed.size(), 3u);
    std::vector<std::string> execs;
    for (const auto& c : s.odbc->calls)
        if (c.rfind("ExecDirect(", 0) == 0) execs.push_back(c);
    EXPECT_EQ(execs[0], execs[1]);
    EXPECT_EQ(execs[1], execs[2]);
    EXPECT_FALSE(r->erro);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "ok");
}

TEST(ErrorCheck, AbortIgnoreAndNoDialogAllEndTheLoop) {
    for (int32_t answer : {kAbort, kIgnore}) {
        Scripted s;
        s.Fail(1);
        s.dialogs->answers = {answer};
        auto r = s.server->Exec("x");
        EXPECT_EQ(s.odbc->executed.size(), 1u);
        EXPECT_TRUE(r->erro);
    }
    Scripted s;
    s.server->ComMsg = false;
    s.Fail(1);
    s.dialogs->answers = {kRetry};
    s.server->Exec("x");
    EXPECT_EQ(s.odbc->executed.size(), 1u);
    EXPECT_TRUE(s.dialogs->asked.empty());
    EXPECT_TRUE(s.server->erro);
}

TEST(ErrorCheck, ResetLinkAsksToReconnectAfterTheErrorDialog) {
    for (const char* state : {"08S01", "HY000"}) {
        Scripted s;
        s.server->Log = true;
        s.Fail(std::string(state) == "08S01" ? 0 : 10054, state, "Connection reset by peer");
        s.dialogs->answers = {kIgnore, kNo};
        auto r = s.server->Exec("SELECT 1");
        ASSERT_EQ(s.dialogs->asked.size(), 2u) << state;
        EXPECT_EQ(s.dialogs->asked[1].title, "Link Failure!");
        EXPECT_EQ(s.dialogs->asked[1].style, 36);
        EXPECT_EQ(
            s.dialogs->asked[1].text,
            "Parece não haver ligação ao servidor!\r\nDeseja tentar restabelecer as conexões ao "
            "servidor?\r\n\r\nIt seems that the link to the server is lost!\r\nDo you wish to "
            "try to re-establish the connections?");
        EXPECT_EQ(s.odbc->Count("AllocEnv"), 1u);  // No: nothing more
        EXPECT_TRUE(s.server->Aberto);
    }
}

TEST(ErrorCheck, YesReopensFromTheStoredProperties) {
    Scripted s;
    std::string login = s.server->Login;
    s.server->lStackBase = 2;
    s.Fail(10054, "08S01", "Connection reset by peer");
    s.dialogs->answers = {kIgnore, kYes};
    auto r = s.server->Exec("SELECT 1");
    EXPECT_EQ(s.odbc->Count("AllocEnv"), 2u);
    EXPECT_EQ(s.odbc->Count("FreeEnv"), 1u);
    EXPECT_TRUE(s.server->Aberto);
    EXPECT_FALSE(s.server->erro);  // the new open cleared it
    EXPECT_EQ(s.server->Login, login);
    EXPECT_EQ(s.server->Stack(), 1);  // the close reset the base
    // The interrupted result set lost its slot with the old session.
    EXPECT_TRUE(r->erro);
    EXPECT_EQ(r->Indice, 0);
    r.reset();
    bool busy = true;
    s.server->StackItemGet(1, busy);
    EXPECT_FALSE(busy);
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(ErrorCheck, RetryAfterReconnectingRunsOnTheNewSession) {
    Scripted s;
    s.Fail(10054, "08S01", "Connection reset by peer");
    s.dialogs->answers = {kRetry, kYes};
    s.odbc->ScriptExecution({Scripted::Column({"1"})});
    auto r = s.server->Exec("SELECT 1");
    EXPECT_EQ(s.odbc->executed.size(), 2u);
    EXPECT_FALSE(r->erro);
    EXPECT_EQ(r->Indice, 1);
    EXPECT_TRUE(r->TemLinhas());
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(RowCountPrediction, CountBatchesExactly) {
    Scripted s;
    EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas("SELECT a, b FROM t ORDER BY a"),
              "SELECT count(a) FROM t  SELECT a, b FROM t ORDER BY a ");
    EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas("select * from t where x = 1"),
              "SELECT count(*) from t where x = 1 SELECT * from t where x = 1 ");
    EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas("SELECT a FROM t SELECT b FROM u"),
              "SELECT count(a) FROM t SELECT a FROM t SELECT count(b) FROM u SELECT b FROM u ");
    // A statement without FROM counts as one row.
    EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas("SELECT 1"), "SELECT 1 SELECT 1 ");
    EXPECT_EQ(s.server->Exec_ComPrevNumDeLinhas("UPDATE t SET a = 1"), "");
}

TEST(RowCountPrediction, CountThenTheQuerysOwnRows) {
    Scripted s;
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(std::to_string(i));
    s.odbc->ScriptExecution({Scripted::Column({"12"}), Scripted::Column(twelve)});
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

    Scripted g;
    g.odbc->ScriptExecution({Scripted::Column({"5", "2", "7"}), Scripted::Column({"a", "b", "c"})});
    int32_t groups = 0;
    g.server->Exec("SELECT c FROM t GROUP BY c", nullptr, &groups);
    EXPECT_EQ(groups, 3);

    // A command without a query has nothing to count and runs as given.
    std::string update = "UPDATE t SET c = 1";
    int32_t none = -1;
    g.server->Exec(&update, nullptr, &none);
    EXPECT_EQ(g.odbc->executed.back(), "UPDATE t SET c = 1");
    EXPECT_EQ(update, "UPDATE t SET c = 1");
    EXPECT_EQ(none, 0);
}

TEST(Exists, DatabaseLookup) {
    Scripted s;
    s.odbc->ScriptExecution({Scripted::Column({"7"})});
    Variant id;
    EXPECT_TRUE(s.server->ExisteDB("o'base", &id));
    EXPECT_EQ(id.ToString(), "7");
    EXPECT_EQ(s.odbc->executed.back(),
              "SELECT dbid FROM master.dbo.sysdatabases where name='o''base'");
    bool busy = true;
    s.server->StackItemGet(1, busy);
    EXPECT_FALSE(busy);  // the lookup gave its slot back
    s.odbc->ScriptExecution({Scripted::Column({})});
    EXPECT_FALSE(s.server->ExisteDB("nenhuma"));

    s.server->Fecha();
    size_t calls = s.odbc->calls.size();
    EXPECT_FALSE(s.server->ExisteDB("x"));
    EXPECT_EQ(s.odbc->calls.size(), calls);
}
