// The catalog services on the real databases, through the shipped catalog views.

#include <gtest/gtest.h>

#include "CatalogViews.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;

namespace {

class Catalog : public kvltest::CatalogBackendTest {
  protected:
    // The commands the session ran since the SQL log was switched on.
    int Commands() const {
        int n = 0;
        for (const std::string& e : kvltest::LogEntries(*session))
            if (e.starts_with("ActCom\t")) ++n;
        return n;
    }
};

}  // namespace

TEST_P(Catalog, TheViewsDescribeEachDeclaredTypeWithItsDocumentedCode) {
    // Declared type, then type code, size, and digits before and after the point.
    const std::vector<std::string> sqlite = {
        "tinyint 5 1 3 0",        "smallint 6 2 5 0",      "integer 7 4 10 0",
        "bigint 24 9 19 0",       "decimal(7,3) 24 5 4 3", "numeric 8 8 53 0",
        "real 23 4 24 0",         "money 11 8 15 4",       "boolean 16 1 1 0",
        "char(3) 1 3 0 0",        "varchar(40) 2 40 0 0",  "datetime 12 8 0 0",
        "varbinary(16) 4 16 0 0", "blob 4 2147483647 0 0", "text 19 2147483647 0 0"};
    const std::vector<std::string> postgres = {
        "smallint 6 2 5 0",       "integer 7 4 10 0",      "bigint 24 9 19 0",
        "numeric(7,3) 24 5 4 3",  "numeric 8 8 53 0",      "real 23 4 24 0",
        "money 11 8 15 4",        "boolean 16 1 1 0",      "char(3) 1 3 0 0",
        "varchar(40) 2 40 0 0",   "date 12 4 0 0",         "timestamp 12 8 0 0",
        "bytea 4 2147483647 0 0", "text 19 2147483647 0 0"};
    const std::vector<std::string>& types = IsPostgres() ? postgres : sqlite;
    std::string create = "CREATE TABLE tipos (";
    for (size_t i = 0; i < types.size(); ++i)
        create += (i ? ", c" : "c") + std::to_string(i + 1) + " " +
                  types[i].substr(0, types[i].find(' '));
    Run(create + ")");

    Variant info = session->CamposPropsInfo("tipos");
    const VariantArray& p = info.array();
    ASSERT_EQ(p.UBound(2), int32_t(types.size())) << session->ErroD;
    for (int32_t n = 1; const std::string& type : types) {
        std::string got = type.substr(0, type.find(' '));
        for (int32_t row : {4, 5, 7, 8}) got += " " + p.At({row, n}).ToString();
        EXPECT_EQ(got, type);
        EXPECT_EQ(p.At({1, n}), Variant("tipos"));
        EXPECT_EQ(p.At({3, n}), Variant("c" + std::to_string(n)));
        EXPECT_EQ(p.At({2, n++}), p.At({2, 1}));  // one table id for all
    }
}

TEST_P(Catalog, FieldExistenceAndPropertiesAskedOfTheCatalogOnce) {
    Run("CREATE TABLE parcelas (area decimal(7,3), nome varchar(40))");
    Run("CREATE TABLE outra (nome int)");
    std::vector<std::tuple<std::string, const char*, bool>> cases = {
        {"parcelas", "area", true},
        {"parcelas", "perimetro", false},
        {"parcelas", "it's", false}};  // a quote is no fault
    if (IsPostgres())                  // the name qualified by the current database resolves too
        cases.push_back({session->DB + ".dbo.parcelas", "area", true});
    session->com("/* the client's pending text runs in front */");
    for (const auto& [table, field, exists] : cases) {
        SCOPED_TRACE(table + "." + field);
        EXPECT_EQ(session->CamposExisteCampo(table, field), exists);
        EXPECT_FALSE(session->erro) << session->ErroD;
        EXPECT_EQ(session->ActCom, "");
    }

    session->Log = true;
    Variant info = session->CamposPropsInfo("parcelas");
    EXPECT_EQ(info.array().UBound(2), 2);
    EXPECT_EQ(session->CamposPropsInfo("parcelas"), info);
    EXPECT_EQ(session->CamposPropsInfo("parcelas", std::nullopt, Variant("nome")).array().UBound(2),
              1);
    EXPECT_EQ(Commands(), 1);
    // An unknown field, or the name in another case, is asked of the catalog every time.
    EXPECT_EQ(session->CamposPropsInfo("parcelas", std::nullopt, Variant("x")).array().UBound(2),
              0);
    EXPECT_EQ(session->CamposPropsInfo("PARCELAS").array().UBound(2), 0);
    EXPECT_EQ(Commands(), 3);
    EXPECT_TRUE(session->CamposQuerPlicas("nome"));

    // Rows of a result set the caller ran feed the same cache.
    Variant RES(std::shared_ptr<Object>(
        session->Exec("SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name"
                      " FROM syscolumns a JOIN sysobjects b ON a.id=b.id WHERE b.name='outra'")));
    session->CamposPropsCarrega(&RES);
    Variant outra = session->CamposPropsInfo("outra", Variant(true));
    ASSERT_EQ(outra.array().UBound(2), 1);
    EXPECT_EQ(outra.array().At({4, 1}), Variant(int16_t{kTipoInt}));

    session->Fecha();  // the close forgets the cache
    EXPECT_FALSE(session->CamposQuerPlicas("nome"));
}

KVL_BACKENDS(Catalog);
