// Describing columns: what each real driver reports, names taken from the select list,
// and what no driver here reports (SQL_DECIMAL, a size of 2^31 - 1).

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/Error.h"

using namespace kvl;

namespace {

class Columns : public kvltest::BackendTest {};

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
    // Numeric and decimal flags, integer digits, width, bounds.
    auto numeric = [&](int16_t n) {
        return std::to_string(r->ColSeTipoNum(n)) + std::to_string(r->ColSeTipoDec(n)) + " " +
               r->ColNInt(n).ToString() + " " + r->ColLen(n).ToString() + " " +
               r->ColMax(n).ToString() + " " + r->ColMin(n).ToString();
    };
    const bool pg = IsPostgres();
    EXPECT_EQ(numeric(1),
              pg ? "10 10 10 2147483647 -2147483648" : "10 10 25 2147483647 -2147483648");
    EXPECT_EQ(numeric(2), pg ? "10 5 5 32767 -32768" : "10 5 15 32767 -32768");
    EXPECT_EQ(numeric(5), "11 30 30 3.4E+27 -3.4E+27");
    EXPECT_EQ(numeric(6), "11 30 30 3.4E+27 -3.4E+27");
}

// Unanalysed, names come from the select list and every buffer is 1024.
TEST_P(Columns, NamesFromTheSelectListAndTheirLookup) {
    Run("CREATE TABLE t (nome VARCHAR(10), idade INTEGER)");
    Run("INSERT INTO t VALUES ('Ana', 30)");
    auto r = session->Exec("select t.nome, t.idade from t", nullptr, nullptr, false);
    ASSERT_EQ(r->Cols, 2);
    EXPECT_EQ(r->ColNome(2).ToString(), "idade");
    EXPECT_EQ(r->ColNomeCompleto(1).ToString(), "t.nome");
    EXPECT_EQ(r->ColLen(1).ToInt32(), 1024);
    EXPECT_TRUE(r->ColTipo(1).IsEmpty());
    EXPECT_EQ(r->ColIndex("idade"), 2);
    EXPECT_EQ(r->ColIndex("IDADE"), -1);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->XCol("nome").ToString(), "Ana");
    EXPECT_EQ(kvltest::ErrorOf([&] { r->XCol("NOME"); }), kSubscriptOutOfRange);
}

KVL_BACKENDS(Columns);

TEST(ColumnsScripted, DecimalAndHugeText) {
    kvltest::ScriptedSession s;
    kvltest::ScriptedOdbc::Result result;
    result.columns = {{"valor", 3, 9, 2, 1}, {"memo", -1, 2147483647, 0, 1}};  // DECIMAL(9,2)
    auto r = s.Run(result);
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 24);
    EXPECT_TRUE(r->ColSeTipoDec(1));
    EXPECT_EQ(r->ColNDec(1), 2);
    EXPECT_EQ(r->ColNInt(1).ToInt16(), 7);
    EXPECT_EQ(r->ColLen(1).ToInt32(), 10);
    EXPECT_EQ(r->ColMax(1).ToDouble(), 9999999.0);
    EXPECT_EQ(r->ColMin(1).ToDouble(), -9999999.0);
    EXPECT_EQ(r->ColNBytes(2).ToInt32(), 32000);  // capped
    EXPECT_EQ(r->ColLen(2).ToInt32(), 2147483645);
}
