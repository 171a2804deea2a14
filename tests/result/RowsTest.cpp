// Describing columns and reading rows on the real drivers: what each driver reports, names
// taken from the select list, values whole, stored and replayed, set aside, the slot given
// back; and, scripted, what no driver here reports (SQL_DECIMAL, a size of 2^31 - 1) and a
// fetch that fails or loses its link.
// The typed reading in blocks, likewise: loosely reported types, NULLs anywhere in a block,
// long text and bytes beside short values, mixing with the text reading, further results, and
// the slot reused after it; and, scripted, columns the driver will not bind, and a row or a
// whole block the driver fails to give.

#include <gtest/gtest.h>

#include <set>

#include "Databases.h"
#include "kvl/Error.h"
#include "kvl/OdbcError.h"
#include "kvl/kvlLIG.h"
#include "kvl/kvlRES.h"

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

// A column's type, numeric and decimal flags, integer digits, width and bounds.
std::string Numeric(kvlRES& r, int16_t n) {
    return r.ColTipo(n).ToString() + " " + std::to_string(r.ColSeTipoNum(n)) +
           std::to_string(r.ColSeTipoDec(n)) + " " + r.ColNInt(n).ToString() + " " +
           r.ColLen(n).ToString() + " " + r.ColMax(n).ToString() + " " + r.ColMin(n).ToString();
}

class TypedRowsPostgres : public Rows {};

// A column of the type test: its type and literal on SQLite and on PostgreSQL (no type: not
// on that driver), and the value each gives.
struct Case {
    const char* name;
    const char* type[2];
    const char* literal[2];
    TypedValue expected[2];
};

const std::vector<Case> kCases{
    // SQLite keeps a decimal as a double, so its digits are those of the double.
    {"de",
     {"DECIMAL(12,2)", "DECIMAL(12,2)"},
     {"-1234.50", "-1234.50"},
     {Decimal{"-1234.5"}, Decimal{"-1234.50"}}},
    {"nu", {"NUMERIC", "NUMERIC"}, {"7.5", "7.5"}, {Decimal{"7.5"}, Decimal{"7.5"}}},
    {"mo", {"MONEY", "MONEY"}, {"4.25", "4.25"}, {std::string("4.25"), std::string("$4.25")}},
    {"bo", {"BOOLEAN", "BOOLEAN"}, {"1", "TRUE"}, {true, true}},
    {"tm",
     {"TIME", "TIME"},
     {"'13:45:01.25'", "'13:45:01.25'"},
     {Time{13, 45, 1, 250000000}, Time{13, 45, 1, 250000000}}},
    {"bn", {"BINARY(4)", nullptr}, {"x'01020304'", ""}, {Bytes{1, 2, 3, 4}, {}}},
    // SQLite keeps any value in any column: what is not of the column's type stays text.
    {"ix", {"INTEGER", nullptr}, {"'doze'", ""}, {std::string("doze"), {}}},
    {"dx", {"DATE", nullptr}, {"'amanhã'", ""}, {std::string("amanhã"), {}}},
};

// The number and description of the OdbcError f throws; "none" when it throws none.
std::string FailureOf(auto&& f) {
    try {
        f();
    } catch (const OdbcError& e) {
        return std::to_string(e.number()) + " " + e.description();
    }
    return "none";
}

}  // namespace

// Widths follow the bytes the driver reports (PostgreSQL 4 and 2 for the integers, the
// SQLite driver its display sizes 10 and 6); real and float both take the wide bounds.
TEST_P(Rows, MetadataOfTheCommonTypes) {
    Run("CREATE TABLE tipos (i INTEGER, s SMALLINT, v VARCHAR(20), t TEXT, r REAL, f FLOAT)");
    auto r = session->Exec("SELECT i, s, v, t, r, f FROM tipos");
    ASSERT_EQ(r->Cols, 6) << r->ErroD;
    EXPECT_EQ(r->ColTipo(3).ToInt16(), 2);
    EXPECT_FALSE(r->ColSeTipoNum(3));
    EXPECT_LE(r->ColNBytes(4).ToInt32(), 32000);
    const bool pg = IsPostgres();
    EXPECT_EQ(Numeric(*r, 1),
              pg ? "7 10 10 10 2147483647 -2147483648" : "7 10 10 25 2147483647 -2147483648");
    EXPECT_EQ(Numeric(*r, 2), pg ? "6 10 5 5 32767 -32768" : "6 10 5 15 32767 -32768");
    EXPECT_EQ(Numeric(*r, 5), pg ? "23 11 30 30 3.4E+27 -3.4E+27" : "8 11 30 30 3.4E+27 -3.4E+27");
    EXPECT_EQ(Numeric(*r, 6), "8 11 30 30 3.4E+27 -3.4E+27");
}

// Unanalysed, names come from the select list and every buffer is 1024.
TEST_P(Rows, NamesFromTheSelectListAndTheirLookup) {
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

// The session's TemLinhas tells whether the last result set given back had rows left; a row
// set aside is brought back.
TEST_P(Rows, GivingTheSlotBackAndSettingARowAside) {
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
    r = session->Exec("SELECT nome FROM ruas ORDER BY id");
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
    EXPECT_EQ(s.odbc->Count("AllocEnv"), 2u);  // Retry, then Yes
    EXPECT_TRUE(s.Run(kvltest::TextColumn({"42"}))->TemLinhas());
}

TEST(ColumnsScripted, DecimalAndHugeText) {
    kvltest::ScriptedSession s;
    kvltest::ScriptedOdbc::Result result;
    result.columns = {{"valor", 3, 9, 2, 1}, {"memo", -1, 2147483647, 0, 1}};  // DECIMAL(9,2)
    auto r = s.Run(result);
    EXPECT_EQ(Numeric(*r, 1), "24 11 7 10 9999999 -9999999");
    EXPECT_EQ(r->ColNDec(1), 2);
    EXPECT_EQ(r->ColNBytes(2).ToInt32(), 32000);  // capped
    EXPECT_EQ(r->ColLen(2).ToInt32(), 2147483645);
}

// The types a driver reports as a type that says less, a time's fraction, and text kept in
// a column of another type, on each driver (the parameters' round trip in LinkTest reads the
// plain types back); the type each column is described with is the one its values arrive as.
TEST_P(Rows, LooselyReportedTypesArriveAsTheirOwnType) {
    const int d = IsPostgres() ? 1 : 0;
    std::string create, insert;
    for (const Case& c : kCases) {
        if (!c.type[d]) continue;
        create += std::string(create.empty() ? "" : ", ") + c.name + " " + c.type[d];
        insert += std::string(insert.empty() ? "" : ", ") + c.literal[d];
    }
    Run("CREATE TABLE tipos (" + create + ")");
    Run("INSERT INTO tipos VALUES (" + insert + ")");
    auto r = session->Exec("SELECT * FROM tipos");
    ASSERT_TRUE(r->TemLinhasTipadas()) << r->ErroD;
    int16_t n = 0;
    for (const Case& c : kCases) {
        if (!c.type[d]) continue;
        ++n;
        EXPECT_EQ(r->ColTipada(n), c.expected[d]) << c.name;
        EXPECT_EQ(r->ColDescrição(n).name, c.name);
    }
    // The first five columns are on both drivers.
    EXPECT_EQ(r->ColDescrição(1).sqlType, IsPostgres() ? odbc::kSqlNumeric : odbc::kSqlDecimal);
    EXPECT_EQ(r->ColDescrição(3).sqlType, odbc::kSqlVarchar);
    EXPECT_EQ(r->ColDescrição(4).sqlType, odbc::kSqlBit);
    EXPECT_FALSE(r->TemLinhasTipadas());
}

// Blocks of four rows: NULLs in the first, a middle and the last row of a block and in the
// last row of all, a column of NULLs only, and an empty text that is not NULL; beside short
// values, long text and bytes (NULs among them) read whole in their row of the block, and a
// value longer than the size its column reports (SQLite keeps any length; psqlODBC reports 255
// for varchar without one).
TEST_P(Rows, NullsAndLongValuesAnywhereInABlock) {
    Run(std::string("CREATE TABLE n (k INTEGER, a VARCHAR(10), x DOUBLE PRECISION, d DATE, "
                    "nada VARCHAR(5), longo TEXT, livre VARCHAR") +
        (IsPostgres() ? ", b BYTEA)" : "(4), b BLOB)"));
    std::string longo;
    while (longo.size() < 100'000) longo += "Conceição ";
    longo.resize(100'000);
    Bytes bytes;
    for (int i = 0; i < 100'000; ++i) bytes.push_back(static_cast<uint8_t>(i % 256));
    const std::string livre(2000, 'x');
    const std::set<int> nullA{1, 6, 8, 10}, nullX{4, 5}, nullD{9};
    // The rows go in as parameters (their round trip is LinkTest's) and are expected back.
    auto link = session->Liga();
    auto insert = link->Prepara("INSERT INTO n VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    std::vector<std::vector<TypedValue>> rows;
    for (int k = 1; k <= 10; ++k) {
        const TypedValue a = nullA.count(k) ? TypedValue()
                             : k == 2       ? TypedValue(std::string())
                                            : TypedValue("v" + std::to_string(k));
        const TypedValue x = nullX.count(k) ? TypedValue() : TypedValue(k + 0.5);
        const TypedValue d = Date{2024, 1, static_cast<uint8_t>(10 + k)};
        rows.push_back({int64_t{k}, a, x, nullD.count(k) ? TypedValue() : d, TypedValue(),
                        k % 2 ? longo : std::string("curto"), std::string(k == 3 ? livre : "l"),
                        k == 7 ? bytes : Bytes{0}});
        insert->Executa(rows.back());
    }
    auto r = session->Exec("SELECT k, a, x, d, nada, longo, livre, b FROM n ORDER BY k");
    for (const auto& row : rows) {
        ASSERT_TRUE(r->TemLinhasTipadas(4)) << std::get<int64_t>(row[0]);
        // Compared, not printed: the long values would flood the output.
        for (int16_t n = 1; n <= 8; ++n)
            EXPECT_TRUE(r->ColTipada(n) == row[n - 1])
                << "k " << std::get<int64_t>(row[0]) << ", column " << n;
    }
    EXPECT_FALSE(r->TemLinhasTipadas());
    EXPECT_EQ(r->Lins, 10);
}

// A result read one way refuses the other; values are asked for by column number.
TEST_P(Rows, AResultIsReadOneWayOnly) {
    auto typed = session->Exec("SELECT id FROM ruas");
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->ColTipada(1); }), kInvalidCall);
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->TemLinhasTipadas(0); }), kInvalidCall);
    ASSERT_TRUE(typed->TemLinhasTipadas());
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->TemLinhas(); }), kInvalidCall);
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->CarregaTudo(); }), kInvalidCall);
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->ColTipada(0); }), kSubscriptOutOfRange);
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->ColTipada(2); }), kSubscriptOutOfRange);
    EXPECT_EQ(kvltest::ErrorOf([&] { typed->ColDescrição(2); }), kSubscriptOutOfRange);

    auto text = session->Exec("SELECT id FROM ruas");
    ASSERT_TRUE(text->TemLinhas());
    EXPECT_EQ(kvltest::ErrorOf([&] { text->TemLinhasTipadas(); }), kInvalidCall);
    EXPECT_EQ(kvltest::ErrorOf([&] { text->ColTipada(1); }), kInvalidCall);
    EXPECT_EQ(text->ColDescrição(1).name, "id");
}

// However a slot's result set is left (released, dropped, or given another command), the
// next command on the slot reads every row one at a time into nothing of the last one's: a
// binding or a block size left behind would lose rows, or write into freed buffers.
TEST_P(Rows, TheSlotIsLeftAsItWasAfterATypedRead) {
    Run("CREATE TABLE s (k INTEGER, a VARCHAR(10))");
    for (int k = 1; k <= 50; ++k) Run("INSERT INTO s VALUES (" + std::to_string(k) + ", 'a')");
    const std::string select = "SELECT k, a FROM s ORDER BY k";
    for (int how = 0; how < 3; ++how) {
        SCOPED_TRACE(how);
        auto r = session->Exec(select);
        ASSERT_TRUE(r->TemLinhasTipadas(8));
        const int16_t slot = r->Indice;
        if (how == 0) r->Liberta();
        if (how == 1) r.reset();
        auto next = session->Exec(select, how == 2 ? r : nullptr);
        EXPECT_EQ(next->Indice, slot);
        EXPECT_TRUE(how != 2 || next == r);  // given back to Exec, it runs the command itself
        int32_t sum = 0;
        while (next->TemLinhas()) sum += next->Col(1).ToInt32();
        EXPECT_EQ(sum, 50 * 51 / 2);
    }
}

// PostgreSQL: the SQLite driver runs one statement of a batch only.
TEST_P(TypedRowsPostgres, FurtherResultsAreReadEitherWayAnew) {
    auto r = session->Exec("SELECT 1 AS a; SELECT 'x' AS b, 2.5::float8 AS c; SELECT 3 AS d");
    ASSERT_TRUE(r->TemLinhasTipadas()) << r->ErroD;
    EXPECT_EQ(r->ColTipada(1), TypedValue(int64_t{1}));
    ASSERT_TRUE(r->MaisResultados(false));
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "x");
    ASSERT_TRUE(r->MaisResultados());
    EXPECT_EQ(r->ColDescrição(1).name, "d");
    EXPECT_EQ(r->ColNome(1).ToString(), "d");
    ASSERT_TRUE(r->TemLinhasTipadas());
    EXPECT_EQ(r->ColTipada(1), TypedValue(int64_t{3}));
    EXPECT_EQ(kvltest::ErrorOf([&] { r->ColTipada(2); }), kSubscriptOutOfRange);
}

// A block of rows from the real server with a failure the scripted layer puts in it: a row
// the driver marks failed ends the rows before it, and a fetch that fails as a whole gives
// none of its block. Either failure is thrown again by every later call and never asks
// the session's dialogs.
TEST_P(TypedRowsPostgres, AFailureInsideABlockIsThrownAtItsRowAndStays) {
    auto odbc = std::make_shared<kvltest::ScriptedOdbc>(odbc::UnixOdbc());
    auto s = kvlSERV::Create(odbc);
    s->Dialogos = dialogs;
    s->Abre(session->Login);
    ASSERT_TRUE(s->Aberto) << s->ErroD;
    const std::string select = "SELECT g FROM generate_series(1, 12) AS g";

    auto r = s->Exec(select);
    odbc->FailRow(3, {"22003", 7, "fora do intervalo"});
    ASSERT_TRUE(r->TemLinhasTipadas(4) && r->TemLinhasTipadas());
    EXPECT_EQ(r->ColTipada(1), TypedValue(int64_t{2}));
    const std::string outOfRange = std::to_string(odbc::kError) + " 22003: fora do intervalo";
    EXPECT_EQ(FailureOf([&] { r->TemLinhasTipadas(); }), outOfRange);
    EXPECT_EQ(FailureOf([&] { r->TemLinhasTipadas(); }), outOfRange);
    r->Liberta();

    r = s->Exec(select);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(r->TemLinhasTipadas(4));
    odbc->Fail("Fetch", {"08S01", 0, "ligação perdida"});
    const std::string lost = std::to_string(odbc::kError) + " 08S01: ligação perdida";
    EXPECT_EQ(FailureOf([&] { r->TemLinhasTipadas(); }), lost);
    EXPECT_EQ(FailureOf([&] { r->TemLinhasTipadas(); }), lost);
    EXPECT_EQ(r->Lins, 4);
    EXPECT_TRUE(dialogs->asked.empty());
}

KVL_BACKENDS(Rows);
INSTANTIATE_TEST_SUITE_P(Server, TypedRowsPostgres, testing::Values("postgres"));

// A driver that refuses to bind: every column is read whole, and typed all the same.
TEST(TypedRowsScripted, ColumnsADriverWillNotBindAreReadWhole) {
    kvltest::ScriptedSession s;
    kvltest::ScriptedOdbc::Result result;
    result.columns = {{"n", odbc::kSqlInteger, 10, 0, 1}, {"d", odbc::kSqlTypeDate, 10, 0, 1}};
    result.rows = {{"12", "2024-02-29"}, {std::nullopt, "29.02.2024"}};
    EXPECT_EQ(kvltest::TypedRowsOf(*s.Run(result)),
              (kvltest::TypedTable{{int64_t{12}, Date{2024, 2, 29}},
                                   {TypedValue(), std::string("29.02.2024")}}));
    EXPECT_GT(s.odbc->Count("BindCol"), 0u);
}
