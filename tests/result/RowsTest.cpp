// Describing columns and reading rows on the real drivers: what each driver reports, names
// taken from the select list, values whole, stored and replayed, set aside, the slot given
// back; and, scripted, what no driver here reports (SQL_DECIMAL, a size of 2^31 - 1) and a
// fetch that fails or loses its link.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/Error.h"

using namespace kvl;

namespace {

class Rows : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Run("CREATE TABLE ruas (id INTEGER, nome VARCHAR(40))");
        Run("INSERT INTO ruas VALUES (1, 'Rua da Conceição'), (2, 'Avenida João XXI'), "
            "(3, 'Travessa do Açúcar')");
    }
};
class Columns : public Rows {};

// A column's numeric and decimal flags, integer digits, width and bounds.
std::string Numeric(kvlRES& r, int16_t n) {
    return std::to_string(r.ColSeTipoNum(n)) + std::to_string(r.ColSeTipoDec(n)) + " " +
           r.ColNInt(n).ToString() + " " + r.ColLen(n).ToString() + " " + r.ColMax(n).ToString() +
           " " + r.ColMin(n).ToString();
}

}  // namespace

// Widths follow the bytes the driver reports (PostgreSQL 4 and 2 for the integers, the
// SQLite driver its display sizes 10 and 6); real and float both take the wide bounds.
TEST_P(Columns, MetadataOfTheCommonTypes) {
    Run("CREATE TABLE tipos (i INTEGER, s SMALLINT, v VARCHAR(20), t TEXT, r REAL, f FLOAT)");
    auto r = session->Exec("SELECT i, s, v, t, r, f FROM tipos");
    ASSERT_EQ(r->Cols, 6) << r->ErroD;
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 7);
    EXPECT_EQ(r->ColTipo(2).ToInt16(), 6);
    EXPECT_EQ(r->ColTipo(3).ToInt16(), 2);
    EXPECT_FALSE(r->ColSeTipoNum(3));
    EXPECT_LE(r->ColNBytes(4).ToInt32(), 32000);
    const bool pg = IsPostgres();
    EXPECT_EQ(Numeric(*r, 1),
              pg ? "10 10 10 2147483647 -2147483648" : "10 10 25 2147483647 -2147483648");
    EXPECT_EQ(Numeric(*r, 2), pg ? "10 5 5 32767 -32768" : "10 5 15 32767 -32768");
    EXPECT_EQ(Numeric(*r, 5), "11 30 30 3.4E+27 -3.4E+27");
    EXPECT_EQ(Numeric(*r, 6), "11 30 30 3.4E+27 -3.4E+27");
}

// Unanalysed, names come from the select list and every buffer is 1024.
TEST_P(Columns, NamesFromTheSelectListAndTheirLookup) {
    auto r =
        session->Exec("select ruas.nome, ruas.id from ruas order by id", nullptr, nullptr, false);
    ASSERT_EQ(r->Cols, 2);
    EXPECT_EQ(r->ColNome(2).ToString(), "id");
    EXPECT_EQ(r->ColNomeCompleto(1).ToString(), "ruas.nome");
    EXPECT_EQ(r->ColLen(1).ToInt32(), 1024);
    EXPECT_TRUE(r->ColTipo(1).IsEmpty());
    EXPECT_EQ(r->ColIndex("id"), 2);
    EXPECT_EQ(r->ColIndex("ID"), -1);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->XCol("nome").ToString(), "Rua da Conceição");
    EXPECT_EQ(kvltest::ErrorOf([&] { r->XCol("NOME"); }), kSubscriptOutOfRange);
}

KVL_BACKENDS(Columns);

// No value is cut, whatever size the driver reports for its column: accented text sized in
// characters, exact decimals, long text, the least integers, and dates, times and big
// integers given as binary sizes. NULL and the empty text both read as NULL.
TEST_P(Rows, EveryValueArrivesWholeReadDirectlyOrStored) {
    std::string longo;
    for (int i = 0; i < 5000; ++i) longo += "çãõé";
    Run("CREATE TABLE v (nome VARCHAR(8), valor DECIMAL(12,2), texto TEXT, i INTEGER, "
        "s SMALLINT, vazio VARCHAR(5), nada VARCHAR(5))");
    Run("INSERT INTO v VALUES ('São João', -1234567890.12, '" + longo +
        "', -2147483648, -32768, '', NULL)");
    const std::string select =
        IsPostgres() ? "SELECT v.*, DATE '2024-02-29', TIMESTAMP '2024-02-29 13:45:01', "
                       "TIME '13:45:01', 12345678901::bigint FROM v"
                     : "SELECT v.*, '2024-02-29', '2024-02-29 13:45:01', '13:45:01', "
                       "12345678901 FROM v";
    const std::vector<std::string> expected{
        "São João",   "-1234567890.12",      longo,      "-2147483648", "-32768", "", "",
        "2024-02-29", "2024-02-29 13:45:01", "13:45:01", "12345678901"};
    for (bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "stored" : "read directly");
        auto r = session->Exec(select);
        if (stored) {
            EXPECT_EQ(r->CarregaTudo(), 1);
            EXPECT_EQ(r->Indice, 0);  // every row in memory: the slot went back
            EXPECT_EQ(r->ColReg(1, 3).ToString(), longo);
            EXPECT_THROW(r->ColReg(2, 1), Error);
        }
        ASSERT_TRUE(r->TemLinhas()) << r->ErroD;
        std::vector<std::string> values;
        for (int16_t n = 1; n <= r->Cols; ++n) values.push_back(r->Col(n).ToString());
        EXPECT_EQ(values, expected);
        EXPECT_TRUE(!r->ColSeNull(1) && r->ColSeNull(6) && r->ColSeNull(7));
        EXPECT_FALSE(r->TemLinhas());
    }
}

// The session's TemLinhas tells whether the last result set given back had rows left.
TEST_P(Rows, GivingTheSlotBackTellsWhetherRowsWereLeft) {
    auto r = session->Exec("SELECT id FROM ruas ORDER BY id");
    ASSERT_TRUE(r->TemLinhas());
    r->Liberta();
    r->Liberta();           // the second release does nothing
    EXPECT_EQ(r->Lins, 2);  // one more row was read to tell
    EXPECT_TRUE(session->TemLinhas().ToBool());
    r = session->Exec("SELECT id FROM ruas");
    while (r->TemLinhas()) {
    }
    r->Liberta();
    EXPECT_FALSE(session->TemLinhas().ToBool());
}

TEST_P(Rows, SettingARowAsideAndBringingItBack) {
    auto r = session->Exec("SELECT nome FROM ruas ORDER BY id");
    EXPECT_EQ(kvltest::ErrorOf([&] { r->PushLinha(); }), kSubscriptOutOfRange);  // none aside
    EXPECT_EQ(kvltest::ErrorOf([&] { r->ReloadLinha(); }), kSubscriptOutOfRange);
    ASSERT_TRUE(r->TemLinhas());
    r->PopLinha();
    ASSERT_TRUE(r->TemLinhas());
    r->PushLinha();
    EXPECT_EQ(r->Col(1).ToString(), "Rua da Conceição");
    r->ReloadLinha();
    EXPECT_EQ(r->Col(1).ToString(), "Avenida João XXI");
    r->Col(1, Variant("três"));
    r->ProximaLinhaRegista();
    EXPECT_EQ(r->ColReg(2, 1).ToString(), "três");
}

KVL_BACKENDS(Rows);

// A fetch that fails in the middle of the rows goes through the error check like a failed
// command: it is never taken for the end of the rows, and Retry fetches again.
TEST(RowsScripted, AFailedFetchIsAnErrorAndRetryFetchesAgain) {
    kvltest::ScriptedSession s;
    auto r = s.Run(kvltest::TextColumn({"um", "dois", "três"}));
    ASSERT_TRUE(r->TemLinhas());
    s.odbc->Fail("Fetch", {"HY000", 0, "falhou"});
    s.dialogs->answers = {kRetry};
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "dois");
    s.odbc->Fail("Fetch", {"HY000", 0, "falhou"});
    EXPECT_FALSE(r->TemLinhas());
    EXPECT_TRUE(r->erro && s.server->erro);
    EXPECT_EQ(r->ErroD, "falhou");
    ASSERT_EQ(s.dialogs->asked.size(), 2u);
    EXPECT_EQ(s.dialogs->asked[1].title, "kvlSERV - acesso a base de dados (servidor) [SQLFetch]");

    // A link lost under the rows is re-established on Yes; the rows it held are lost.
    r = s.Run(kvltest::TextColumn({"um", "dois"}));
    s.odbc->Fail("Fetch", {"57P01", 0, "terminating connection"});
    s.dialogs->answers = {kRetry, kYes};
    EXPECT_FALSE(r->TemLinhas());
    EXPECT_TRUE(r->erro && s.server->Aberto);
    EXPECT_TRUE(s.dialogs->answers.empty());
    EXPECT_EQ(s.odbc->Count("AllocEnv"), 2u);
    EXPECT_TRUE(s.Run(kvltest::TextColumn({"42"}))->TemLinhas());
}

TEST(ColumnsScripted, DecimalAndHugeText) {
    kvltest::ScriptedSession s;
    kvltest::ScriptedOdbc::Result result;
    result.columns = {{"valor", 3, 9, 2, 1}, {"memo", -1, 2147483647, 0, 1}};  // DECIMAL(9,2)
    auto r = s.Run(result);
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 24);
    EXPECT_EQ(Numeric(*r, 1), "11 7 10 9999999 -9999999");
    EXPECT_EQ(r->ColNDec(1), 2);
    EXPECT_EQ(r->ColNBytes(2).ToInt32(), 32000);  // capped
    EXPECT_EQ(r->ColLen(2).ToInt32(), 2147483645);
}
