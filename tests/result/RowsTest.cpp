// Reading rows on the real drivers: values whole, stored and replayed, set aside, the slot
// given back; and, scripted, a fetch that fails or loses its link.

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

}  // namespace

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
