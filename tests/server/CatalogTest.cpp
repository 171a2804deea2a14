// The catalog queries as texts, and the field-property cache fed by rows the test gives:
// the values derived for each type, the locale's separator, conversion failures, the
// cache's size and its reset.

#include <gtest/gtest.h>
#include <locale.h>

#include "Databases.h"
#include "Environment.h"
#include "kvl/ClientObjects.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ErrorOf;
using kvltest::ScriptedSession;

namespace {

constexpr const char* kSelect = " SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name";
constexpr const char* kOrder = " ORDER BY a.id,a.colid";

// Catalog rows: name, type code, length, precision, scale, table id, table name.
using CatalogRow = std::vector<std::string>;

class CatalogRows : public RowSource {
  public:
    explicit CatalogRows(std::vector<CatalogRow> rows) : rows_(std::move(rows)) {}
    bool TemLinhas() override { return ++at_ < rows_.size(); }
    Variant Col(int16_t nIndex) override { return rows_.at(at_).at(nIndex - 1); }

  private:
    std::vector<CatalogRow> rows_;
    size_t at_ = size_t(-1);
};

void Load(kvlSERV& s, std::vector<CatalogRow> rows) {
    Variant RES(std::shared_ptr<Object>(std::make_shared<CatalogRows>(std::move(rows))));
    s.CamposPropsCarrega(&RES);
}

// Property p (1 to 13) of field n of a properties array.
const Variant& Prop(const Variant& info, int32_t p, int32_t n) {
    return info.array().At({p, n});
}

// The formats below are written with the point.
void PlainPoint(kvltest::ScopedEnvironment& env) {
    env.Set("LC_ALL", "C");
}

}  // namespace

TEST(CatalogQueries, ExactTextsOfBothFormsForEachKindOfName) {
    struct Case {
        const char* what;
        tqConecçaoTipo dialect;
        std::string table;
        std::optional<std::string> field;  // the existence test; none: the properties query
        std::string pending;               // appended with com before the call
        std::string expected;
    };
    const std::string sql7Exists = "  FROM syscolumns a  LEFT OUTER JOIN sysobjects b ON a.id=b.id";
    const Case cases[] = {
        {"plain name", tq_dbconnectionSQL7, "parcelas", "area", "",
         kSelect + sql7Exists + " WHERE b.name='parcelas' and a.name='area'" + kOrder},
        {"database-qualified name", tq_dbconnectionSQL7, "db1.dbo.parcelas", "area", "",
         std::string(kSelect) +
             "  FROM db1.dbo.syscolumns a  LEFT OUTER JOIN db1.dbo.sysobjects b ON a.id=b.id"
             " WHERE b.name='parcelas' and a.name='area'" +
             kOrder},
        {".DBO. in capitals, case kept", tq_dbconnectionINFORMIX, "Db1.DBO.Parcelas", "Area", "",
         std::string(kSelect) +
             "  FROM Db1.DBO.syscolumns a  LEFT OUTER JOIN Db1.DBO.sysobjects b ON a.id=b.id"
             " WHERE b.name='Parcelas' and a.name='Area'" +
             kOrder},
        {"owner.table is a bare name outside ORACLE8", tq_dbconnectionSQL6, "geo.parcelas", "area",
         "", kSelect + sql7Exists + " WHERE b.name='geo.parcelas' and a.name='area'" + kOrder},
        {"ORACLE8 owner", tq_dbconnectionORACLE8, "geo.parcelas", "area", "",
         std::string(kSelect) +
             "  FROM geo.syscolumns a,geo.sysobjects b Where a.id(+)=b.id AND "
             "b.name='parcelas' and a.name='area'" +
             kOrder},
        {"ORACLE8 cuts at the first point", tq_dbconnectionORACLE8, "db1.dbo.parcelas", "area", "",
         std::string(kSelect) +
             "  FROM db1.syscolumns a,db1.sysobjects b Where a.id(+)=b.id AND "
             "b.name='dbo.parcelas' and a.name='area'" +
             kOrder},
        {"pending text runs in front", tq_dbconnectionACCESS, "db1.dbo.parcelas", "area",
         "SET NOCOUNT ON",
         std::string(" SET NOCOUNT ON") + kSelect +
             "  FROM db1.dbo.syscolumns a  LEFT OUTER JOIN db1.dbo.sysobjects b ON a.id=b.id"
             " WHERE b.name='parcelas' and a.name='area'" +
             kOrder},
        {"quotes in names doubled", tq_dbconnectionSQL7, "o'neill", "d'avila", "",
         kSelect + sql7Exists + " WHERE b.name='o''neill' and a.name='d''avila'" + kOrder},
        {"properties, plain name", tq_dbconnectionSQL7, "parcelas", std::nullopt, "",
         kSelect + sql7Exists + " WHERE b.name='parcelas'" + kOrder},
        {"properties, qualified, pending text", tq_dbconnectionSQL7, "db1.dbo.parcelas",
         std::nullopt, "SET x",
         std::string(" SET x") + kSelect +
             "  FROM db1.dbo.syscolumns a  LEFT OUTER JOIN db1.dbo.sysobjects b ON a.id=b.id"
             " WHERE b.name='parcelas'" +
             kOrder},
        {"properties, ORACLE8", tq_dbconnectionORACLE8, "geo.parcelas", std::nullopt, "",
         std::string(kSelect) +
             "  FROM geo.syscolumns a,geo.sysobjects b Where a.id(+)=b.id  AND "
             "b.name='parcelas'" +
             kOrder},
        {"properties, quote doubled", tq_dbconnectionORACLE8, "x'y", std::nullopt, "",
         std::string(kSelect) +
             "  FROM syscolumns a,sysobjects b Where a.id(+)=b.id  AND "
             "b.name='x''y'" +
             kOrder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSession s;
        s.server->connectionType = c.dialect;
        if (!c.pending.empty()) s.server->com(c.pending);
        if (c.field) {
            EXPECT_FALSE(s.server->CamposExisteCampo(c.table, *c.field));
        } else {
            s.server->CamposPropsCarrega(nullptr, Variant(c.table));
        }
        ASSERT_EQ(s.odbc->executed.size(), 1u);
        EXPECT_EQ(s.odbc->executed[0], c.expected);
        EXPECT_EQ(s.server->ActCom, "");
        EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));  // the result set was given back
    }
}

TEST(CatalogQueries, EveryTableWithoutANameAndTheCatalogNamesOfTheProperties) {
    ScriptedSession s;
    s.server->syscolumns = "cat.cols";
    s.server->sysobjects = "cat.objs";
    s.server->CamposPropsCarrega();
    s.server->connectionType = tq_dbconnectionORACLE8;
    s.server->CamposPropsCarrega();
    EXPECT_EQ(
        s.odbc->executed,
        (std::vector<std::string>{
            kSelect + std::string("  FROM cat.cols a  LEFT OUTER JOIN cat.objs b ON a.id=b.id") +
                kOrder,
            kSelect + std::string("  FROM cat.cols a,cat.objs b Where a.id(+)=b.id ") + kOrder}));
}

TEST(FieldProperties, DerivedFromTheCatalogRowOfEachType) {
    struct Case {
        CatalogRow row;
        int16_t nInt, nDec;
        double max, min;
        int32_t width;
        std::string format;
    };
    const Case cases[] = {
        {{"pequeno", "6", "2", "5", "0"}, 5, 0, 32767, -32768, 5, "{-+#}(-32768>32767)"},
        {{"inteiro", "7", "4", "10", "0"},
         10,
         0,
         2147483647,
         -2147483648.0,
         10,
         "{-+#}(-2147483648>2147483647)"},
        {{"area", "24", "5", "7", "3"},
         4,
         3,
         9999.999,
         -9999.999,
         8,
         "{-+#.000}(-9999.999>9999.999)"},
        {{"fracao", "24", "5", "3", "3"}, 0, 3, 0.999, -0.999, 4, "{-+#.000}(-0.999>0.999)"},
        // A scale beyond the precision (PostgreSQL allows it): no nines before the point.
        {{"escala", "24", "5", "2", "5"},
         -3,
         5,
         0.99999,
         -0.99999,
         3,
         "{-+#.00000}(-0.99999>0.99999)"},
        {{"duplo", "8", "8", "53", ""}, 53, 0, 3.4E+27, -3.4E+27, 53, "{-+#.}(-3.4E+27>3.4E+27)"},
        {{"simples", "23", "4", "24", ""},
         24,
         0,
         3.4E+27,
         -3.4E+27,
         24,
         "{-+#.}(-3.4E+27>3.4E+27)"},
        {{"byte", "5", "1", "3", "0"}, 3, 0, 255, 0, 3, "{-+#}(0>255)"},
        {{"sim", "16", "1", "1", "0"}, 1, 0, 0, 0, 1, "{-+#}(0>0)"},
        {{"valor", "11", "8", "19", "4"}, 15, 4, 0, 0, 20, "{-+#.0000}(0>0)"},
        {{"nome", "2", "40", "40", ""}, 0, 0, 0, 0, 40, "{}"},
        {{"codigo", "1", "3", "3", ""}, 0, 0, 0, 0, 3, "{}"},
        {{"notas", "19", "16", "", ""}, 0, 0, 0, 0, 1000000, "{}"},
        {{"dia", "12", "8", "23", "3"}, 0, 0, 0, 0, 20, ""},
        {{"hora", "22", "4", "16", "0"}, 0, 0, 0, 0, 20, ""},
    };
    kvltest::ScopedEnvironment env;
    PlainPoint(env);
    auto s = kvlSERV::Create();
    std::vector<CatalogRow> rows;
    for (const Case& c : cases) {
        CatalogRow row = c.row;
        row.insert(row.end(), {"77", "t"});
        rows.push_back(row);
    }
    Load(*s, rows);
    for (const Case& c : cases) {
        const std::string& field = c.row[0];
        SCOPED_TRACE(field);
        Variant info = s->CamposPropsInfo("t", Variant(true), Variant(field));
        ASSERT_EQ(info.array().UBound(2), 1);
        int16_t type = Variant(c.row[1]).ToInt16();
        EXPECT_EQ(Prop(info, 1, 1), Variant("t"));
        EXPECT_EQ(Prop(info, 2, 1), Variant(int32_t{77}));
        EXPECT_EQ(Prop(info, 3, 1), Variant(field));
        EXPECT_EQ(Prop(info, 4, 1), Variant(type));
        EXPECT_EQ(Prop(info, 5, 1), Variant(Variant(c.row[2]).ToInt32()));
        EXPECT_EQ(Prop(info, 6, 1), Variant(TipoSeNum(type)));
        EXPECT_EQ(Prop(info, 7, 1), Variant(c.nInt));
        EXPECT_EQ(Prop(info, 8, 1), Variant(c.nDec));
        EXPECT_DOUBLE_EQ(Prop(info, 9, 1).ToDouble(), c.max);
        EXPECT_DOUBLE_EQ(Prop(info, 10, 1).ToDouble(), c.min);
        EXPECT_EQ(Prop(info, 11, 1), Variant(c.width));
        EXPECT_EQ(Prop(info, 12, 1), Variant(c.format));
        EXPECT_EQ(Prop(info, 13, 1), Variant(TipoSeData(type)));
        EXPECT_EQ(s->CamposQuerPlicas(field), !TipoSeNum(type));
    }
}

TEST(FieldProperties, TheFormatTakesTheSeparatorOfTheUsersLocale) {
    locale_t portuguese = newlocale(LC_NUMERIC_MASK, "pt_PT.UTF-8", static_cast<locale_t>(nullptr));
    ASSERT_TRUE(portuguese) << "the locale pt_PT.UTF-8 is missing: scripts/deps makes it";
    freelocale(portuguese);
    struct Case {
        std::optional<std::string> all, numeric, lang;
        const char* format;
    };
    const char* comma = "{-+#.000}(-9999,999>9999,999)";
    const char* point = "{-+#.000}(-9999.999>9999.999)";
    const Case cases[] = {
        {"pt_PT.UTF-8", std::nullopt, std::nullopt, comma},
        {std::nullopt, "pt_PT.UTF-8", "C", comma},
        {std::nullopt, std::nullopt, "pt_PT.UTF-8", comma},
        {"C", "pt_PT.UTF-8", "pt_PT.UTF-8", point},
        {std::nullopt, "C", "pt_PT.UTF-8", point},
        {std::nullopt, std::nullopt, std::nullopt, point},
        {"xx_NOWHERE.UTF-8", std::nullopt, std::nullopt, point},  // a locale the system lacks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.all.value_or("-") + " " + c.numeric.value_or("-") + " " +
                     c.lang.value_or("-"));
        kvltest::ScopedEnvironment env;
        env.Set("LC_ALL", c.all);
        env.Set("LC_NUMERIC", c.numeric);
        env.Set("LANG", c.lang);
        auto s = kvlSERV::Create();
        Load(*s, {{"area", "24", "5", "7", "3", "1", "t"}});
        EXPECT_EQ(Prop(s->CamposPropsInfo("t", Variant(true)), 12, 1), Variant(c.format));
    }
    // The library read the locale without making it the process's own.
    EXPECT_STREQ(localeconv()->decimal_point, ".");
}

TEST(FieldProperties, AConversionFailureStopsTheLoadAndKeepsTheRecordsBefore) {
    struct Case {
        const char* what;
        std::vector<std::optional<std::string>> failing;  // the second catalog row
        int32_t error;
    };
    const Case cases[] = {
        {"NULL length", {"b", "7", std::nullopt, "10", "0", "5", "t"}, kTypeMismatch},
        {"NULL table id", {"b", "7", "4", "10", "0", std::nullopt, "t"}, kTypeMismatch},
        {"NULL type", {"b", std::nullopt, "4", "10", "0", "5", "t"}, kTypeMismatch},
        {"digits beyond 16 bits", {"b", "24", "17", "40000", "0", "5", "t"}, kOverflow},
        {"width beyond 16 bits", {"b", "6", "2", "32767", "2", "5", "t"}, kOverflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedSession s;
        kvltest::ScriptedOdbc::Result catalog;
        for (const char* name : {"name", "usertype", "length", "prec", "scale", "id", "name"})
            catalog.columns.push_back({name, 12, 30, 0, 1});
        catalog.rows = {{"a", "2", "10", "10", std::nullopt, "5", "t"},
                        c.failing,
                        {"c", "2", "10", "10", std::nullopt, "5", "t"}};
        s.odbc->ScriptExecution({catalog});
        EXPECT_EQ(ErrorOf([&] { s.server->CamposPropsInfo("t"); }), c.error);
        EXPECT_EQ(s.odbc->executed.size(), 1u);
        EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));
        Variant kept = s.server->CamposPropsInfo("t", Variant(true));
        ASSERT_EQ(kept.array().UBound(2), 1);
        EXPECT_EQ(Prop(kept, 3, 1), Variant("a"));
    }
}

TEST(FieldProperties, CachesBeyond16BitsAreSearchedWhole) {
    auto s = kvlSERV::Create();
    std::vector<CatalogRow> rows;
    for (int i = 1; i <= 40000; ++i)
        rows.push_back({"c" + std::to_string(i), i == 40000 ? "7" : "2", "4", "10", "0", "1", "t"});
    Load(*s, std::move(rows));
    Variant all = s->CamposPropsInfo("t", Variant(true));
    EXPECT_EQ(all.array().UBound(2), 40000);
    Variant last = s->CamposPropsInfo("t", Variant(true), Variant("c40000"));
    ASSERT_EQ(last.array().UBound(2), 1);
    EXPECT_EQ(Prop(last, 4, 1), Variant(int16_t{7}));
    EXPECT_FALSE(s->CamposQuerPlicas("c40000"));
    EXPECT_TRUE(s->CamposQuerPlicas("c39999"));
}

TEST(FieldProperties, TheCloseEmptiesTheCacheAndAReloadAppendsAgain) {
    ScriptedSession s;
    Load(*s.server, {{"a", "2", "4", "4", "", "1", "t"}});
    Load(*s.server, {{"a", "7", "4", "10", "0", "1", "t"}});
    // Loading twice appends twice; the first record found answers.
    EXPECT_EQ(s.server->CamposPropsInfo("t", Variant(true)).array().UBound(2), 2);
    EXPECT_TRUE(s.server->CamposQuerPlicas("a"));
    s.server->Fecha();
    EXPECT_FALSE(s.server->CamposQuerPlicas("a"));
    EXPECT_EQ(s.server->CamposPropsInfo("t", Variant(true)).array().UBound(2), 0);
}

TEST(ClientObjects, AMissingObjectIs91AndAMissingMember438) {
    struct OnlyRows : RowSource {
        bool TemLinhas() override { return true; }  // no Col
    };
    struct NoMembers : Object {};
    ScriptedSession s;
    const std::pair<const char*, Variant> cases[] = {
        {"empty", Variant()},
        {"text", Variant("lista")},
        {"null object", Variant(std::shared_ptr<Object>())},
        {"object without the members",
         Variant(std::shared_ptr<Object>(std::make_shared<NoMembers>()))},
        {"row source without Col", Variant(std::shared_ptr<Object>(std::make_shared<OnlyRows>()))},
    };
    const int32_t errors[] = {kObjectNotSet, kObjectNotSet, kObjectNotSet, kNoSuchMember,
                              kNoSuchMember};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        Variant v = cases[i].second;
        EXPECT_EQ(ErrorOf([&] { s.server->ListaEnche(v, "SELECT a FROM t"); }), errors[i]);
        EXPECT_EQ(ErrorOf([&] { s.server->CamposPropsCarrega(&v); }), errors[i]);
    }
    EXPECT_TRUE(s.odbc->executed.empty());  // no query ran for a list it could not clear
}
