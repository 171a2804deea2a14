// The catalog services on the real databases, through the shipped catalog views.

#include <gtest/gtest.h>

#include "CatalogViews.h"
#include "Environment.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;

namespace {

class Catalog : public kvltest::CatalogBackendTest {
  protected:
    void SetUp() override {
        env.Set("LC_ALL", "C");  // the formats below are written with the point
        CatalogBackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE parcelas (pequeno smallint, inteiro int, area decimal(7,3), "
            "duplo float, simples real, nome varchar(40), notas text, dia date)");
        Run("CREATE TABLE outra (nome int)");
    }
    // The commands the session ran since the SQL log was switched on.
    int Commands() const {
        int n = 0;
        for (const std::string& e : kvltest::LogEntries(*session))
            if (e.starts_with("ActCom\t")) ++n;
        return n;
    }
    static const Variant& Prop(const Variant& info, int32_t p, int32_t n) {
        return info.array().At({p, n});
    }

    kvltest::ScopedEnvironment env;
};

}  // namespace

TEST_P(Catalog, FieldExistence) {
    EXPECT_TRUE(session->CamposExisteCampo("parcelas", "area"));
    EXPECT_FALSE(session->CamposExisteCampo("parcelas", "perimetro"));
    EXPECT_FALSE(session->CamposExisteCampo("nenhuma", "area"));
    EXPECT_FALSE(session->CamposExisteCampo("parcelas", "it's"));  // a quote is no fault
    EXPECT_FALSE(session->erro) << session->ErroD;
    if (IsPostgres()) {  // the name qualified by the current database resolves too
        EXPECT_TRUE(session->CamposExisteCampo(session->DB + ".dbo.parcelas", "area"));
    }
}

TEST_P(Catalog, PropertiesOfEachTypeAndTheCacheThatHoldsThem) {
    struct Expected {
        const char* field;
        int16_t type;
        int16_t nInt, nDec;
        double max, min;
        int32_t width;
        const char* format;
    };
    const Expected fields[] = {
        {"pequeno", kTipoSmallInt, 5, 0, 32767, -32768, 5, "{-+#}(-32768>32767)"},
        {"inteiro", kTipoInt, 10, 0, 2147483647, -2147483648.0, 10,
         "{-+#}(-2147483648>2147483647)"},
        {"area", kTipoDecimal, 4, 3, 9999.999, -9999.999, 8, "{-+#.000}(-9999.999>9999.999)"},
        {"duplo", kTipoFloat, 53, 0, 3.4E+27, -3.4E+27, 53, "{-+#.}(-3.4E+27>3.4E+27)"},
        {"simples", kTipoReal, 24, 0, 3.4E+27, -3.4E+27, 24, "{-+#.}(-3.4E+27>3.4E+27)"},
        {"nome", kTipoVarchar, 0, 0, 0, 0, 40, "{}"},
        {"notas", kTipoText, 0, 0, 0, 0, 1000000, "{}"},
        {"dia", kTipoDatetime, 0, 0, 0, 0, 20, ""},
    };
    session->Log = true;
    Variant info = session->CamposPropsInfo("parcelas");
    EXPECT_EQ(Commands(), 1);
    ASSERT_EQ(info.array().UBound(2), int32_t(std::size(fields)));
    for (int32_t n = 1; const Expected& e : fields) {
        SCOPED_TRACE(e.field);
        EXPECT_EQ(Prop(info, 1, n), Variant("parcelas"));
        EXPECT_EQ(Prop(info, 3, n), Variant(e.field));
        EXPECT_EQ(Prop(info, 4, n), Variant(e.type));
        EXPECT_EQ(Prop(info, 7, n), Variant(e.nInt));
        EXPECT_EQ(Prop(info, 8, n), Variant(e.nDec));
        EXPECT_DOUBLE_EQ(Prop(info, 9, n).ToDouble(), e.max);
        EXPECT_DOUBLE_EQ(Prop(info, 10, n).ToDouble(), e.min);
        EXPECT_EQ(Prop(info, 11, n), Variant(e.width));
        EXPECT_EQ(Prop(info, 12, n), Variant(e.format));
        ++n;
    }
    EXPECT_EQ(Prop(info, 2, 1), Prop(info, 2, 8));  // one table id for all

    // Read from the cache from now on.
    EXPECT_EQ(session->CamposPropsInfo("parcelas"), info);
    Variant one = session->CamposPropsInfo("parcelas", std::nullopt, Variant("area"));
    ASSERT_EQ(one.array().UBound(2), 1);
    EXPECT_EQ(Prop(one, 3, 1), Variant("area"));
    EXPECT_EQ(Commands(), 1);
    EXPECT_TRUE(session->CamposQuerPlicas("nome"));
    EXPECT_TRUE(session->CamposQuerPlicas("dia"));
    EXPECT_FALSE(session->CamposQuerPlicas("inteiro"));
    EXPECT_FALSE(session->CamposQuerPlicas("perimetro"));

    // An unknown field costs one more catalog query and gives no field.
    EXPECT_EQ(
        session->CamposPropsInfo("parcelas", std::nullopt, Variant("perimetro")).array().UBound(2),
        0);
    EXPECT_EQ(Commands(), 2);
    EXPECT_FALSE(session->erro) << session->ErroD;
}

TEST_P(Catalog, AnalysisOfAllFieldsOrOfOne) {
    Variant all = session->CamposAnalisa("parcelas");
    const VariantArray& a = all.array();
    ASSERT_EQ(a.LBound(1), 0);
    ASSERT_EQ(a.UBound(1), 10);
    ASSERT_EQ(a.UBound(2), 8);
    // Column 3 is area: name, type, size, numeric, NDec, NInt, Max, Min, width, format.
    const Variant area[] = {Variant("area"),     Variant(int16_t{kTipoDecimal}),
                            a.At({3, 3}),        Variant(true),
                            Variant(int16_t{3}), Variant(int16_t{4}),
                            Variant(9999.999),   Variant(-9999.999),
                            Variant(int32_t{8}), Variant("{-+#.000}(-9999.999>9999.999)")};
    for (int32_t row = 1; const Variant& v : area) EXPECT_EQ(a.At({row++, 3}), v) << row;
    for (int32_t n = 0; n <= 8; ++n) EXPECT_TRUE(a.At({0, n}).IsEmpty());
    for (int32_t row = 0; row <= 10; ++row) EXPECT_TRUE(a.At({row, 0}).IsEmpty());

    Variant one = session->CamposAnalisa("parcelas", Variant("nome"), Variant("x"), Variant("y"));
    const VariantArray& o = one.array();
    ASSERT_EQ(o.UBound(2), 8);
    for (int32_t n = 1; n <= 8; ++n)
        EXPECT_EQ(o.At({1, n}).IsEmpty(), n != 6) << n;  // nome is field 6
    EXPECT_EQ(o.At({9, 6}), Variant(int32_t{40}));
}

TEST_P(Catalog, ATableNameInAnotherCaseIsNotTheCachedOne) {
    session->Log = true;
    EXPECT_EQ(session->CamposPropsInfo("PARCELAS").array().UBound(2), 0);
    EXPECT_EQ(session->CamposPropsInfo("PARCELAS").array().UBound(2), 0);
    EXPECT_EQ(Commands(), 2);  // asked of the catalog every time
    EXPECT_EQ(session->CamposPropsInfo("outra").array().UBound(2), 1);
}

TEST_P(Catalog, RowsOfAResultSetTheCallerRan) {
    session->com("SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name");
    session->com("FROM syscolumns a JOIN sysobjects b ON a.id=b.id WHERE b.name='outra'");
    Variant RES(std::shared_ptr<Object>(session->Exec()));
    session->CamposPropsCarrega(&RES);
    Variant info = session->CamposPropsInfo("outra", Variant(true));
    ASSERT_EQ(info.array().UBound(2), 1);
    EXPECT_EQ(Prop(info, 4, 1), Variant(int16_t{kTipoInt}));
}

KVL_BACKENDS(Catalog);
