// Describing columns: what each real driver reports, names from the select list, and
// what the scripted driver manager describes.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/Error.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

namespace {

class Columns : public kvltest::BackendTest {};

}  // namespace

TEST_P(Columns, MetadataOfTheCommonTypesAndExtremeValues) {
    Run("CREATE TABLE tipos (i INTEGER, s SMALLINT, v VARCHAR(20), t TEXT, r REAL, f FLOAT)");
    Run("INSERT INTO tipos VALUES (-2147483648, -32768, 'v', 't', 1.5, 2.5)");
    auto r = session->Exec("SELECT i, s, v, t, r, f FROM tipos");
    ASSERT_EQ(r->Cols, 6) << r->ErroD;
    EXPECT_EQ(r->ColNome(1).ToString(), "i");
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 7);
    EXPECT_EQ(r->ColNInt(1).ToInt16(), 10);
    EXPECT_EQ(r->ColTipo(2).ToInt16(), 6);
    // The width follows the length in bytes the driver reports: PostgreSQL gives 4 and
    // 2 bytes, the SQLite driver its display sizes 10 and 6. Real and float both take the
    // wide bounds, the least one negative.
    struct Numeric {
        int16_t column;
        int32_t len;
        double max, min;
    };
    for (auto [n, len, max, min] :
         {Numeric{1, IsPostgres() ? 10 : 25, 2147483647, -2147483648.0},
          Numeric{2, IsPostgres() ? 5 : 15, 32767, -32768}, Numeric{5, 30, 3.4E+27, -3.4E+27},
          Numeric{6, 30, 3.4E+27, -3.4E+27}}) {
        EXPECT_TRUE(r->ColSeTipoNum(n)) << n;
        EXPECT_EQ(r->ColSeTipoDec(n), n >= 5) << n;
        EXPECT_EQ(r->ColLen(n).ToInt32(), len) << n;
        EXPECT_EQ(r->ColMax(n).ToDouble(), max) << n;
        EXPECT_EQ(r->ColMin(n).ToDouble(), min) << n;
    }
    EXPECT_EQ(r->ColTituloLen(5).ToInt32(), 30);
    EXPECT_EQ(r->ColTipo(3).ToInt16(), 2);
    EXPECT_FALSE(r->ColSeTipoNum(3));
    int16_t textCode = r->ColTipo(4).ToInt16();
    EXPECT_TRUE(textCode == 19 || textCode == 2) << textCode;
    EXPECT_LE(r->ColNBytes(4).ToInt32(), 32000);

    // The least integers fit their buffers whole.
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->Col(1).ToString(), "-2147483648");
    EXPECT_EQ(r->Col(2).ToString(), "-32768");
}

TEST_P(Columns, NamesFromTheSelectListAndTheirLookup) {
    Run("CREATE TABLE t (nome VARCHAR(10), idade INTEGER)");
    Run("INSERT INTO t VALUES ('Ana', 30)");
    auto r = session->Exec("select t.nome, t.idade from t", nullptr, nullptr, false);
    ASSERT_EQ(r->Cols, 2);
    EXPECT_EQ(r->ColNome(1).ToString(), "nome");
    EXPECT_EQ(r->ColNome(2).ToString(), "idade");
    EXPECT_EQ(r->ColNomeCompleto(1).ToString(), "t.nome");
    EXPECT_EQ(r->ColLen(1).ToInt32(), 1024);  // unanalysed: every buffer is 1024
    EXPECT_TRUE(r->ColTipo(1).IsEmpty());
    EXPECT_FALSE(r->ColSeTipoNum(2));
    EXPECT_EQ(r->ColIndex("idade"), 2);
    EXPECT_EQ(r->ColIndex("IDADE"), -1);
    ASSERT_TRUE(r->TemLinhas());
    EXPECT_EQ(r->XCol("nome").ToString(), "Ana");
    EXPECT_EQ(kvltest::ErrorOf([&] { r->XCol("NOME"); }), kSubscriptOutOfRange);
}

KVL_BACKENDS(Columns);

TEST(ColumnsScripted, DecimalAndHugeText) {
    kvltest::ScriptedSession s;
    ScriptedOdbc::Result result;
    result.columns = {{"valor", 3, 9, 2, 1}};  // DECIMAL(9,2)
    auto r = s.Run(result);
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 24);
    EXPECT_EQ(r->ColNDec(1), 2);
    EXPECT_EQ(r->ColNInt(1).ToInt16(), 7);
    EXPECT_EQ(r->ColLen(1).ToInt32(), 10);
    EXPECT_EQ(r->ColMax(1).ToDouble(), 9999999.0);
    EXPECT_EQ(r->ColMin(1).ToDouble(), -9999999.0);
    EXPECT_TRUE(r->ColSeTipoDec(1));

    result.columns = {{"memo", -1, 2147483647, 0, 1}};
    r = s.Run(result);
    EXPECT_EQ(r->ColNBytes(1).ToInt32(), 32000);  // capped
    EXPECT_EQ(r->ColLen(1).ToInt32(), 2147483645);
}
