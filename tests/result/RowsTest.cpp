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

INSTANTIATE_TEST_SUITE_P(Server, RowsPostgres, testing::Values("postgres"));

TEST(RowsScripted, ValuesLongerThanTheBufferAreCutOnACharacter) {
    kvltest::ScriptedSession s;
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
