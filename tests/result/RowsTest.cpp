// Reading rows: values as text, storing and replaying, several results, release.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/Error.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

namespace {

class Rows : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Run("CREATE TABLE ruas (id INTEGER, nome VARCHAR(40), obs VARCHAR(10))");
        Run("INSERT INTO ruas VALUES (1, 'Rua da Conceição', 'x'), "
            "(2, 'Avenida João XXI', NULL), (3, 'Travessa do Açúcar', '')");
    }
};

}  // namespace

TEST_P(Rows, AQueryEndToEndWhereNullAndEmptyTextBothReadAsNull) {
    session->Log = true;
    auto r = session->Exec("SELECT id, nome, obs FROM ruas ORDER BY id");
    ASSERT_FALSE(r->erro) << r->ErroD;
    EXPECT_EQ(r->Pai, session);
    std::vector<std::string> read;
    while (r->TemLinhas())
        read.push_back(r->XCol("nome").ToString() + "|" + r->Col(3).ToString() +
                       (r->ColSeNull(3) ? "|null" : ""));
    EXPECT_EQ(read, (std::vector<std::string>{"Rua da Conceição|x", "Avenida João XXI||null",
                                              "Travessa do Açúcar||null"}));
    EXPECT_EQ(r->TotLins, 3);
    EXPECT_FALSE(r->ComLinhas());
    // The end of the rows is logged with the elapsed time.
    std::vector<std::string> log = kvltest::LogEntries(*session, session->Logs(-1).ToInt32() - 3);
    EXPECT_EQ(log[0], "Set de Resultados\t1 (i 1) fin");
    EXPECT_TRUE(log[1].starts_with("Tempo\t"));
    EXPECT_EQ(log[2], "");
    r->Liberta();
    EXPECT_EQ(r->Indice, 0);
    EXPECT_FALSE(session->TemLinhas().ToBool());
    session->Fecha();
}

TEST_P(Rows, ACommandThatTouchesNoRowIsASuccess) {
    auto r = session->Exec("UPDATE ruas SET obs = 'y' WHERE id = 99");
    EXPECT_FALSE(r->erro) << r->ErroD;
    EXPECT_EQ(r->LinAfect, 0);
    EXPECT_TRUE(dialogs->asked.empty());
}

TEST_P(Rows, StoredRowsReplayWithoutTheDatabase) {
    auto r = session->Exec("SELECT id, obs FROM ruas ORDER BY id");
    EXPECT_EQ(r->CarregaTudo(), 3);
    EXPECT_EQ(r->Lins, 0);
    EXPECT_EQ(r->Indice, 0);  // the slot went back at the end of the rows
    EXPECT_TRUE(r->Armazenou);
    std::vector<std::pair<std::string, bool>> replay;
    while (r->TemLinhas())
        replay.emplace_back(r->Col(1).ToString() + r->Col(2).ToString(), r->ColSeNull(2));
    EXPECT_EQ(replay,
              (std::vector<std::pair<std::string, bool>>{{"1x", false}, {"2", true}, {"3", true}}));
    EXPECT_EQ(r->ColReg(2, 1).ToString(), "2");
    EXPECT_THROW(r->ColReg(4, 1), Error);
    // Stored rows can be walked again after rewinding.
    r->Lins = 0;
    EXPECT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "1");
    r->Liberta();  // nothing left to give back
    EXPECT_EQ(session->Stack(), 1);
}

TEST_P(Rows, ReleasingWithUnreadRowsTellsTheServerAndAPassedBackResultSetKeepsItsSlot) {
    auto r = session->Exec("SELECT id FROM ruas ORDER BY id");
    ASSERT_TRUE(r->TemLinhas());
    r->Liberta();
    EXPECT_EQ(r->Lins, 2);  // one more row was read
    EXPECT_TRUE(session->TemLinhas().ToBool());
    r->Liberta();  // the second release does nothing
    EXPECT_EQ(r->Lins, 2);
    EXPECT_FALSE(kvltest::SlotBusy(*session, 1));

    auto held = session->Exec("SELECT id FROM ruas");
    r = session->Exec("SELECT nome FROM ruas");
    ASSERT_EQ(r->Indice, 2);
    EXPECT_EQ(session->Exec("SELECT id FROM ruas WHERE id = 2", r), r);
    EXPECT_EQ(r->Indice, 2);
    EXPECT_EQ(session->Stack(), 2);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "2");
}

TEST_P(Rows, StoresAHundredThousandRows) {
    Run("CREATE TABLE n (i INTEGER)");
    Run(IsPostgres()
            ? "INSERT INTO n SELECT generate_series(1, 100000)"
            : "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000) "
              "INSERT INTO n SELECT x FROM c");
    auto r = session->Exec("SELECT i FROM n ORDER BY i");
    EXPECT_EQ(r->CarregaTudo(), 100000);
    EXPECT_EQ(r->ColReg(100000, 1).ToString(), "100000");
    EXPECT_EQ(r->ColReg(40000, 1).ToString(), "40000");
}

// No value is cut, whatever size the driver reports for its column: dates, times and big
// integers (given as binary sizes), accented text (sized in characters), exact decimals
// and long text, read directly and from stored rows.
TEST_P(Rows, EveryValueArrivesWhole) {
    std::string longo;
    for (int i = 0; i < 5000; ++i) longo += "çãõé";
    Run("CREATE TABLE v (nome VARCHAR(8), valor DECIMAL(12,2), texto TEXT)");
    Run("INSERT INTO v VALUES ('São João', -1234567890.12, '" + longo + "')");
    std::string tipos = IsPostgres() ? ", DATE '2024-02-29', TIMESTAMP '2024-02-29 13:45:01', "
                                       "TIME '13:45:01', 12345678901::bigint"
                                     : ", '2024-02-29', '2024-02-29 13:45:01', '13:45:01', "
                                       "12345678901";
    const std::vector<std::string> esperado{"São João",   "-1234567890.12",      longo,
                                            "2024-02-29", "2024-02-29 13:45:01", "13:45:01",
                                            "12345678901"};
    for (bool armazena : {false, true}) {
        auto r = session->Exec("SELECT nome, valor, texto" + tipos + " FROM v");
        ASSERT_FALSE(r->erro) << r->ErroD;
        if (armazena) r->CarregaTudo();
        ASSERT_TRUE(r->TemLinhas());
        for (int16_t n = 1; n <= 7; ++n) EXPECT_EQ(r->Col(n).ToString(), esperado[n - 1]) << n;
    }
}

KVL_BACKENDS(Rows);

// The SQLite driver runs one statement of a batch only.
class RowsPostgres : public Rows {};

TEST_P(RowsPostgres, FurtherResultSetsOfABatch) {
    auto r = session->Exec("SELECT 1 AS a; SELECT 'x' AS b, 'y' AS c");
    ASSERT_FALSE(r->erro) << r->ErroD;
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "1");
    EXPECT_FALSE(r->TemLinhas());
    ASSERT_TRUE(r->MaisResultados());
    EXPECT_EQ(r->Cols, 2);
    EXPECT_EQ(r->Ress, 2);
    EXPECT_EQ(r->ColNome(2).ToString(), "c");
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(2).ToString(), "y");
    EXPECT_FALSE(r->MaisResultados());
    EXPECT_EQ(r->Cols, 2);
}

// The server ends the session: while its rows are fetched one at a time, and before the
// next command. Both go through the error check and offer to reconnect.
TEST_P(RowsPostgres, ASessionTheServerEndsIsALostLink) {
    auto pid = session->Exec("SELECT pg_backend_pid()");
    ASSERT_TRUE(pid->TemLinhas());
    std::string backend = pid->Col(1).ToString();
    pid->Liberta();
    auto outro = kvl::kvlSERV::Create();
    kvltest::Postgres::Configure(*outro);
    outro->Abre();
    auto terminate = [&](const std::string& which) {
        auto t = outro->Exec("SELECT pg_terminate_backend(" + which + ")");
        ASSERT_TRUE(t && t->TemLinhas() && t->Col(1).ToString() == "1");
        t->Liberta();
    };

    terminate(backend);
    session->Exec("SELECT 1");
    EXPECT_TRUE(session->erro);
    ASSERT_EQ(dialogs->asked.size(), 2u) << session->ErroD;
    EXPECT_EQ(dialogs->asked[1].title, "Link Failure!");

    // Rows fetched from the server one at a time: the link goes after the first.
    dialogs->asked.clear();
    dialogs->answers = {kIgnore, kYes};  // reconnect
    session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                  session->Login + ";UseDeclareFetch=1;Fetch=1");
    pid = session->Exec("SELECT pg_backend_pid(), generate_series(1, 5)");
    ASSERT_TRUE(pid->TemLinhas());
    terminate(pid->Col(1).ToString());
    EXPECT_FALSE(pid->TemLinhas());
    EXPECT_TRUE(pid->erro);
    EXPECT_EQ(pid->Lins, 1);
    ASSERT_EQ(dialogs->asked.size(), 2u);
    EXPECT_EQ(dialogs->asked[0].title, "kvlSERV - acesso a base de dados (servidor) [SQLFetch]");
    EXPECT_TRUE(session->Aberto);  // reconnected on Yes
    auto again = session->Exec("SELECT 2");
    ASSERT_TRUE(again->TemLinhas());
    EXPECT_EQ(again->Col(1).ToString(), "2");
}

INSTANTIATE_TEST_SUITE_P(Server, RowsPostgres, testing::Values("postgres"));

TEST(RowsScripted, AValueLongerThanItsBufferIsReadOnInPiecesAndArrivesWhole) {
    kvltest::ScriptedSession s;
    ScriptedOdbc::Result result;
    std::string longo(100'000, 'x');
    result.columns = {{"a", 12, 4, 0, 1}, {"b", 12, 4, 0, 1}};
    result.rows = {{"abcdefgh", "aação"}, {longo, "ç"}};
    auto r = s.Run(result);
    r->ColBuffer(2, Variant(int32_t{1}));
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "abcdefgh");
    EXPECT_EQ(r->Col(2).ToString(), "aação");
    EXPECT_EQ(r->ColLen(1).ToInt32(), 4);  // the metadata stays as described
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), longo);
    EXPECT_EQ(r->Col(2).ToString(), "ç");
}

// A fetch that fails in the middle of the rows goes through the error check: the result
// set and the server say so, the dialog is shown, and a lost link offers to reconnect.
TEST(RowsScripted, AFetchThatFailsIsAnErrorNotTheEndOfTheRows) {
    kvltest::ScriptedSession s;
    auto r = s.Run(kvltest::TextColumn({"um", "dois", "três"}));
    ASSERT_TRUE(r->TemLinhas());
    s.odbc->Fail("Fetch", {"08S01", 0, "link lost"});
    EXPECT_FALSE(r->TemLinhas());
    EXPECT_TRUE(r->erro);
    EXPECT_EQ(r->ErroD, "link lost");
    EXPECT_TRUE(s.server->erro);
    ASSERT_EQ(s.dialogs->asked.size(), 2u);
    EXPECT_EQ(s.dialogs->asked[0].title, "kvlSERV - acesso a base de dados (servidor) [SQLFetch]");
    EXPECT_EQ(s.dialogs->asked[1].title, "Link Failure!");
    EXPECT_EQ(r->Lins, 1);

    // Retry fetches again, where the row not given before is read.
    r = s.Run(kvltest::TextColumn({"um", "dois"}));
    s.odbc->Fail("Fetch", {"HY000", 0, "again"});
    s.dialogs->answers = {kRetry};
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "um");
}

TEST(RowsScripted, SettingARowAsideAndBringingItBack) {
    kvltest::ScriptedSession s;
    auto r = s.Run(kvltest::TextColumn({"um", "dois"}));
    EXPECT_EQ(kvltest::ErrorOf([&] { r->PushLinha(); }),
              kSubscriptOutOfRange);  // nothing set aside
    EXPECT_EQ(kvltest::ErrorOf([&] { r->ReloadLinha(); }), kSubscriptOutOfRange);
    ASSERT_TRUE(r->TemLinhas());
    r->PopLinha();
    ASSERT_TRUE(r->TemLinhas());
    r->PushLinha();
    EXPECT_EQ(r->Col(1).ToString(), "um");
    r->ReloadLinha();
    EXPECT_EQ(r->Col(1).ToString(), "dois");
    r->Col(1, Variant("três"));
    r->ProximaLinhaRegista();
    EXPECT_EQ(r->ColReg(2, 1).ToString(), "três");
}
