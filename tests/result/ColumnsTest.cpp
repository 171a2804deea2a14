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
    ASSERT_FALSE(r->erro) << r->ErroD;
    ASSERT_EQ(r->Cols, 6);
    EXPECT_EQ(r->Ress, 1);

    EXPECT_EQ(r->ColNome(1).ToString(), "i");
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 7);
    // The width follows the length in bytes the driver reports: PostgreSQL gives 4 and
    // 2 bytes, the SQLite driver its display sizes 10 and 6.
    EXPECT_EQ(r->ColLen(1).ToInt32(), IsPostgres() ? 10 : 25);
    EXPECT_EQ(r->ColNInt(1).ToInt16(), 10);
    EXPECT_EQ(r->ColNDec(1), 0);
    EXPECT_EQ(r->ColMax(1).ToDouble(), 2147483647.0);
    EXPECT_EQ(r->ColMin(1).ToDouble(), -2147483648.0);
    EXPECT_TRUE(r->ColSeTipoNum(1));
    EXPECT_FALSE(r->ColSeTipoDec(1));

    EXPECT_EQ(r->ColTipo(2).ToInt16(), 6);
    EXPECT_EQ(r->ColLen(2).ToInt32(), IsPostgres() ? 5 : 15);
    EXPECT_EQ(r->ColMax(2).ToDouble(), 32767.0);
    EXPECT_EQ(r->ColMin(2).ToDouble(), -32768.0);

    EXPECT_EQ(r->ColTipo(3).ToInt16(), 2);
    EXPECT_FALSE(r->ColSeTipoNum(3));
    EXPECT_EQ(r->ColNInt(3).ToInt16(), 0);

    int16_t textCode = r->ColTipo(4).ToInt16();
    EXPECT_TRUE(textCode == 19 || textCode == 2) << textCode;
    EXPECT_LE(r->ColNBytes(4).ToInt32(), 32000);

    // Real and float both take the wide bounds, the least one negative.
    for (int16_t n : {5, 6}) {
        EXPECT_TRUE(r->ColSeTipoDec(n)) << n;
        EXPECT_EQ(r->ColLen(n).ToInt32(), 30);
        EXPECT_EQ(r->ColMax(n).ToDouble(), 3.4E+27);
        EXPECT_EQ(r->ColMin(n).ToDouble(), -3.4E+27);
    }
    EXPECT_EQ(r->ColTituloLen(5).ToInt32(), 30);

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

TEST(ColumnsScripted, DecimalHugeTextAndNoColumns) {
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
    EXPECT_EQ(r->ColTipo(1).ToInt16(), 19);

    // A command without columns still gives its count of affected rows.
    ScriptedOdbc::Result none;
    none.rowCount = 4;
    r = s.Run(none, "UPDATE t SET a = 1");
    EXPECT_EQ(r->Cols, 0);
    EXPECT_EQ(r->LinAfect, 4);
    EXPECT_EQ(s.server->LinAfect, 4);
    EXPECT_FALSE(r->ComLinhas());
    EXPECT_FALSE(r->TemLinhas());
}
