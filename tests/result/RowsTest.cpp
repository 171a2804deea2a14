// Reading rows: values as text, storing and replaying, several results, release.

#include <gtest/gtest.h>

#include "ScriptedOdbc.h"
#include "Sessions.h"
#include "kvl/Error.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

namespace {

class Rows : public kvltest::BackendTest {
  protected:
    void ThreeStreets() {
        Run("CREATE TABLE ruas (id INTEGER, nome VARCHAR(40), obs VARCHAR(10))");
        Run("INSERT INTO ruas VALUES (1, 'Rua da Conceição', 'x')");
        Run("INSERT INTO ruas VALUES (2, 'Avenida João XXI', NULL)");
        Run("INSERT INTO ruas VALUES (3, 'Travessa do Açúcar', '')");
    }
};

}  // namespace

TEST_P(Rows, AQueryEndToEnd) {
    ThreeStreets();
    session->Log = true;
    auto r = session->Exec("SELECT id, nome, obs FROM ruas ORDER BY id");
    ASSERT_FALSE(r->erro) << r->ErroD;
    EXPECT_EQ(r->Pai, session);
    std::vector<std::string> nomes;
    while (r->TemLinhas()) nomes.push_back(r->XCol("nome").ToString());
    EXPECT_EQ(nomes, (std::vector<std::string>{"Rua da Conceição", "Avenida João XXI",
                                               "Travessa do Açúcar"}));
    EXPECT_EQ(r->TotLins, 3);
    EXPECT_FALSE(r->ComLinhas());
    // The end of the rows is logged with the elapsed time.
    int32_t last = session->Logs(-1).ToInt32();
    EXPECT_EQ(session->Logs(last - 2).ToString(), "Set de Resultados\t1 (i 1) fin");
    EXPECT_EQ(session->Logs(last - 1).ToString().rfind("Tempo\t", 0), 0u);
    EXPECT_EQ(session->Logs(last).ToString(), "");
    r->Liberta();
    EXPECT_EQ(r->Indice, 0);
    EXPECT_FALSE(session->TemLinhas().ToBool());
    session->Fecha();
}

TEST_P(Rows, NullAndEmptyTextBothReadAsNull) {
    ThreeStreets();
    auto r = session->Exec("SELECT obs FROM ruas ORDER BY id");
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "x");
    EXPECT_FALSE(r->ColSeNull(1));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(r->TemLinhas());
        EXPECT_EQ(r->Col(1).ToString(), "");
        EXPECT_TRUE(r->ColSeNull(1));
    }
}

TEST_P(Rows, StoredRowsReplayWithoutTheDatabase) {
    ThreeStreets();
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

TEST_P(Rows, ReleasingWithUnreadRowsTellsTheServer) {
    ThreeStreets();
    auto r = session->Exec("SELECT id FROM ruas ORDER BY id");
    ASSERT_TRUE(r->TemLinhas());
    r->Liberta();
    EXPECT_EQ(r->Lins, 2);  // one more row was read
    EXPECT_TRUE(session->TemLinhas().ToBool());
    r->Liberta();  // the second release does nothing
    EXPECT_EQ(r->Lins, 2);
    bool busy = true;
    session->StackItemGet(1, busy);
    EXPECT_FALSE(busy);
}

TEST_P(Rows, AResultSetPassedBackRunsOnItsOwnSlot) {
    ThreeStreets();
    auto held = session->Exec("SELECT id FROM ruas");
    auto r = session->Exec("SELECT nome FROM ruas");
    ASSERT_EQ(r->Indice, 2);
    auto again = session->Exec("SELECT id FROM ruas WHERE id = 2", r);
    EXPECT_EQ(again, r);
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

TEST_P(Rows, ExtremeIntegersArriveWhole) {
    Run("CREATE TABLE e (i INTEGER, s SMALLINT)");
    Run("INSERT INTO e VALUES (-2147483648, -32768)");
    auto r = session->Exec("SELECT i, s FROM e");
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "-2147483648");
    EXPECT_EQ(r->Col(2).ToString(), "-32768");
}

KVL_BACKENDS(Rows);

TEST(RowsPostgres, FurtherResultSetsOfABatch) {
    KVL_REQUIRE_POSTGRES();
    auto s = kvlSERV::Create();
    kvltest::Postgres::Configure(*s);
    s->Abre();
    auto r = s->Exec("SELECT 1 AS a; SELECT 'x' AS b, 'y' AS c");
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

namespace {

struct ScriptedResult {
    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
    std::shared_ptr<kvlSERV> server = kvlSERV::Create(odbc);
    std::shared_ptr<kvlRES> Run(ScriptedOdbc::Result result, bool analyse = true) {
        server->Abre();
        odbc->ScriptExecution({std::move(result)});
        return server->Exec("SELECT a, b FROM t", nullptr, nullptr, analyse);
    }
};

}  // namespace

TEST(RowsScripted, ValuesLongerThanTheBufferAreCutOnACharacter) {
    ScriptedResult s;
    ScriptedOdbc::Result result;
    result.columns = {{"a", 12, 4, 0, 1}, {"b", 12, 4, 0, 1}};
    result.rows = {{"abcdefgh", "aação"}};
    auto r = s.Run(result);
    r->ColBuffer(2, Variant(int32_t{2}));  // room for 3 bytes: "aa" and half a "ç"
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "abcde");  // the column's 4 characters and the spare one
    EXPECT_EQ(r->Col(2).ToString(), "aa");
}

TEST(RowsScripted, SettingARowAsideAndBringingItBack) {
    ScriptedResult s;
    ScriptedOdbc::Result result;
    result.columns = {{"a", 12, 10, 0, 1}};
    result.rows = {{"um"}, {"dois"}};
    auto r = s.Run(result);
    EXPECT_THROW(r->PushLinha(), Error);  // nothing set aside yet
    EXPECT_THROW(r->ReloadLinha(), Error);
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

TEST(RowsScripted, StaleResultSetReadsNoRowsAndReleasesNothing) {
    ScriptedResult s;
    ScriptedOdbc::Result result;
    result.columns = {{"a", 12, 10, 0, 1}};
    result.rows = {{"um"}, {"dois"}};
    auto r = s.Run(result);
    s.server->Abre();  // reopened under the result set
    s.server->Log = true;
    int32_t entries = s.server->Logs(-1).ToInt32();
    size_t fetches = s.odbc->Count("Fetch");
    EXPECT_FALSE(r->TemLinhas());
    EXPECT_FALSE(r->MaisResultados());
    r->Liberta();
    EXPECT_EQ(s.odbc->Count("Fetch"), fetches);
    EXPECT_EQ(s.server->Logs(-1).ToInt32(), entries);  // nothing reaches the new session's log
    EXPECT_EQ(s.odbc->misuses, 0);
    EXPECT_EQ(r->Indice, 0);
}

TEST(RowsScripted, StoringLateReplaysEarlierRowsEmpty) {
    ScriptedResult s;
    ScriptedOdbc::Result result;
    result.columns = {{"a", 12, 10, 0, 1}};
    result.rows = {{"um"}, {"dois"}, {std::nullopt}};
    auto r = s.Run(result);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->CarregaTudo(), 3);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "");
    EXPECT_FALSE(r->ColSeNull(1));
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "dois");
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_TRUE(r->ColSeNull(1));
}
