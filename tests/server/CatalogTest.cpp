// The catalog queries in the forms the test databases do not run, the field properties
// derived from catalog rows the test gives, and the session's reading of that cache, with no
// driver; then the catalog services on the real databases, through the shipped catalog views,
// and a client's list control and variables filled from queries there.

#include <gtest/gtest.h>
#include <locale.h>

#include <algorithm>
#include <stdexcept>

#include "../../kvl/services/Catalog.h"
#include "../../kvl/services/FieldProperties.h"
#include "CatalogViews.h"
#include "Environment.h"
#include "FakeRunner.h"
#include "FakeWindow.h"
#include "kvl/ClientObjects.h"
#include "kvl/TypeCodes.h"
#include "kvl/kvlRES.h"

using namespace kvl;
using namespace kvltest;
using Texts = std::vector<std::vector<std::string>>;

namespace {

// Catalog rows: name, type code, length, precision, scale, table id, table name.
struct CatalogRows : RowSource {
    explicit CatalogRows(Texts r) : rows(std::move(r)) {}
    bool TemLinhas() override { return ++at < rows.size(); }
    Variant Col(int16_t n) override { return rows.at(at).at(size_t(n) - 1); }
    Texts rows;
    size_t at = size_t(-1);
};

class Catalog : public CatalogBackendTest {};

// A list control that keeps its entries; it can be made to fail at a given entry.
struct Lista : ListControl {
    std::vector<std::string> entries{"left from before"};  // gone once the list is cleared
    size_t failAt = 0;  // the entry (from 1) whose AddItem throws; 0: none
    void Clear() override { entries.clear(); }
    void AddItem(const std::string& Item) override {
        if (entries.size() + 1 == failAt) throw std::runtime_error("lista cheia");
        entries.push_back(Item);
    }
};

class Lists : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE tipos (codigo varchar(4), descricao varchar(20), ordem int)");
        Run("INSERT INTO tipos VALUES ('R', 'Rua', 1), ('Av', 'Avenida', 2), (NULL, NULL, 3)");
    }
};

}  // namespace

TEST(CatalogQuery, TheOracleFormsTheWholeCatalogAndAPrefixInAnyCase) {
    services::TableName t = services::SplitTableName("Db1.DBO.Parcelas", tq_dbconnectionINFORMIX);
    EXPECT_EQ(t.prefix + "|" + t.name, "Db1.DBO.|Parcelas");
    t = services::SplitTableName("db1.dbo.o'n", tq_dbconnectionORACLE8);
    EXPECT_EQ(t.prefix + "|" + t.name, "db1.|dbo.o'n");

    FakeRunner run;
    auto s = kvlSERV::Create();
    s->syscolumns = "cols";
    s->sysobjects = "objs";
    const std::string outer = " FROM db1.cols a,db1.objs b Where a.id(+)=b.id ";
    using Case = std::tuple<tqConecçaoTipo, const services::TableName*, const char*, std::string>;
    const Case cases[] = {
        {tq_dbconnectionORACLE8, &t, "a'b", outer + "AND b.name='dbo.o''n' and a.name='a''b'"},
        {tq_dbconnectionORACLE8, &t, nullptr, outer + " AND b.name='dbo.o''n'"},
        {tq_dbconnectionORACLE8, nullptr, nullptr, " FROM cols a,objs b Where a.id(+)=b.id "},
        {tq_dbconnectionSQL7, nullptr, nullptr,
         " FROM cols a  LEFT OUTER JOIN objs b ON a.id=b.id"},
    };
    for (const auto& [dialect, table, field, expected] : cases) {
        s->connectionType = dialect;
        auto f = field ? std::optional<std::string_view>(field) : std::nullopt;
        EXPECT_EQ(services::CatalogQuery(*s, run, table, f),
                  " SELECT a.name,a.usertype,a.length,a.prec,a.scale,b.id,b.name " + expected +
                      " ORDER BY a.id,a.colid");
    }
}

// The derived properties as the session reports them; type, size and digits come from the
// real catalog views below.
TEST(FieldProperties, DerivedFromEachKindOfCatalogRowWithTheLocalesSeparatorOrAFailure) {
    // The row (name, type, length, precision, scale, table id and name), the width and the
    // format, which writes the range too.
    const std::tuple<std::vector<std::string>, int32_t, std::string> cases[] = {
        {{"byte", "5", "1", "3", "0", "77", "t"}, 3, "{-+#}(0>255)"},
        {{"inteiro", "7", "4", "10", "0", "77", "t"}, 10, "{-+#}(-2147483648>2147483647)"},
        {{"area", "24", "5", "7", "3", "77", "t"}, 8, "{-+#.000}(-9999,999>9999,999)"},
        // A scale beyond the precision (PostgreSQL allows it): no nines before the point.
        {{"escala", "24", "5", "2", "5", "77", "t"}, 3, "{-+#.00000}(-0,99999>0,99999)"},
        // Without a precision a decimal takes any number, as a float does.
        {{"livre", "24", "17", "", "", "77", "t"}, 0, "{-+#.}(-3,4E+27>3,4E+27)"},
        {{"duplo", "8", "8", "53", "", "77", "t"}, 53, "{-+#.}(-3,4E+27>3,4E+27)"},
        {{"valor", "11", "8", "19", "4", "77", "t"}, 20, "{-+#.0000}(0>0)"},
        {{"nome", "2", "40", "40", "", "77", "t"}, 40, "{}"},
        {{"notas", "19", "16", "", "", "77", "t"}, 1000000, "{}"},
        {{"dia", "12", "8", "23", "3", "77", "t"}, 20, ""},
    };
    Texts rows;
    for (const auto& c : cases) rows.push_back(std::get<0>(c));
    // pt_PT.UTF-8 must exist (scripts/deps makes it): without it the point shows for the comma.
    ScopedEnvironment env;
    env.Set("LC_ALL", std::nullopt);
    env.Set("LC_NUMERIC", "pt_PT.UTF-8");
    auto s = kvlSERV::Create();
    Variant RES = AsVariant(std::make_shared<CatalogRows>(rows));  // a client's row source
    s->CamposPropsCarrega(&RES);
    Variant info = s->CamposPropsInfo("t", Variant(true));
    const VariantArray& p = info.array();
    ASSERT_EQ(p.UBound(2), int32_t(std::size(cases)));
    for (int32_t n = 1; const auto& [row, width, format] : cases) {
        SCOPED_TRACE(row[0]);
        EXPECT_EQ(p.At({6, n}), Variant(format != "{}" && !format.empty()));  // numeric
        EXPECT_EQ(p.At({13, n}), Variant(format.empty()));                    // a date
        EXPECT_EQ(p.At({11, n}), Variant(width));
        EXPECT_EQ(p.At({12, n++}), Variant(format));
    }
    // The range is kept as numbers too.
    EXPECT_EQ(p.At({9, 2}), Variant(2147483647.0));
    EXPECT_EQ(p.At({10, 3}), Variant(-9999.999));
    // The locale was read without becoming the process's own.
    EXPECT_STREQ(localeconv()->decimal_point, ".");
    // Where the user's locale says the point, or the system lacks it, the point.
    for (const char* locale : {"C", "xx_NOWHERE.UTF-8"}) {
        env.Set("LC_ALL", locale);
        services::FieldProperties cache;
        CatalogRows area({rows[2]});
        cache.Append(area);
        EXPECT_EQ(cache.fields().at(0).format, "{-+#.000}(-9999.999>9999.999)") << locale;
    }
    // A conversion failure stops the load, keeping the records before.
    const std::pair<std::vector<std::string>, int32_t> failures[] = {
        {{"b", "", "4", "10", "0", "5", "t"}, kTypeMismatch},    // no type
        {{"b", "24", "17", "40000", "0", "5", "t"}, kOverflow},  // digits past 16 bits
        {{"b", "6", "2", "32767", "2", "5", "t"}, kOverflow},    // width past 16 bits
    };
    for (const auto& [failing, error] : failures) {
        services::FieldProperties cache;
        CatalogRows some({rows[7], failing, rows[7]});
        EXPECT_EQ(ErrorOf([&] { cache.Append(some); }), error);
        ASSERT_EQ(cache.fields().size(), 1u);
        EXPECT_EQ(cache.fields()[0].name, "nome");
    }
}

// The session's members read the cache a row source filled; a closed session runs nothing.
TEST(FieldProperties, TheSessionReadsTheCacheByTableAndField) {
    auto s = kvlSERV::Create();
    Texts rows = {
        {"a", "12", "8", "", "", "1", "t"},
        {"b", "7", "4", "10", "0", "1", "t"},
        {"a", "7", "4", "10", "0", "2", "u"},
        {"z", "7", "4", "10", "0", "1", "t"}};  // a later load of t: the first run answers
    for (int i = 1; i <= 40000; ++i)            // beyond what a 16-bit counter reaches
        rows.push_back({"c" + std::to_string(i), i == 40000 ? "7" : "2", "4", "4", "", "3", "big"});
    Variant RES = AsVariant(std::make_shared<CatalogRows>(std::move(rows)));
    s->CamposPropsCarrega(&RES);
    Variant none("linhas");  // no row source
    EXPECT_EQ(ErrorOf([&] { s->CamposPropsCarrega(&none); }), kObjectNotSet);

    Variant t = s->CamposPropsInfo("db.dbo.t", Variant(true));
    const VariantArray& p = t.array();
    ASSERT_EQ(p.UBound(2), 2);
    EXPECT_TRUE(s->CamposQuerPlicas("a"));  // the first record of that name answers
    EXPECT_FALSE(s->CamposQuerPlicas("b"));
    EXPECT_EQ(s->CamposPropsInfo("big", Variant(true)).array().UBound(2), 40000);
    EXPECT_EQ(s->CamposPropsInfo("big", Variant(true), Variant("c40000")).array().At({4, 1}),
              Variant(int16_t{kTipoInt}));

    // The analysis: rows 1 to 10 hold name, type, size, numeric, NDec, NInt, Max, Min, width,
    // format; row and column 0 stay empty; with a name, only that field's column is filled.
    Variant all = s->CamposAnalisa("t");
    const VariantArray& an = all.array();
    ASSERT_EQ(an.bounds, (std::vector<VariantArray::Bound>{{0, 11}, {0, 3}}));
    const int32_t fromInfo[] = {3, 4, 5, 6, 8, 7, 9, 10, 11, 12};
    for (int32_t row = 1; int32_t info : fromInfo) EXPECT_EQ(an.At({row++, 2}), p.At({info, 2}));
    for (int32_t row = 0; row <= 10; ++row) EXPECT_TRUE(an.At({row, 0}).IsEmpty());
    for (int32_t n = 1; n <= 2; ++n) EXPECT_TRUE(an.At({0, n}).IsEmpty());
    Variant one = s->CamposAnalisa("t", Variant("b"), Variant("x"), Variant("y"));
    EXPECT_TRUE(one.array().At({1, 1}).IsEmpty());
    EXPECT_EQ(one.array().At({1, 2}), Variant("b"));
}

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
        std::string got = p.At({1, n}).ToString() + "." + p.At({3, n}).ToString();
        for (int32_t row : {4, 5, 7, 8}) got += " " + p.At({row, n}).ToString();
        EXPECT_EQ(got, "tipos.c" + std::to_string(n) + type.substr(type.find(' '))) << type;
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
    auto commands = [&] {  // run since the SQL log was switched on
        return std::ranges::count_if(
            LogEntries(*session), [](const std::string& e) { return e.starts_with("ActCom\t"); });
    };
    Variant info = session->CamposPropsInfo("parcelas");
    EXPECT_EQ(info.array().UBound(2), 2);
    EXPECT_EQ(session->CamposPropsInfo("parcelas"), info);
    EXPECT_EQ(session->CamposPropsInfo("parcelas", std::nullopt, Variant("nome")).array().UBound(2),
              1);
    EXPECT_EQ(commands(), 1);
    // An unknown field, or the name in another case, is asked of the catalog every time.
    EXPECT_EQ(session->CamposPropsInfo("parcelas", std::nullopt, Variant("x")).array().UBound(2),
              0);
    EXPECT_EQ(session->CamposPropsInfo("PARCELAS").array().UBound(2), 0);
    EXPECT_EQ(commands(), 3);
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

TEST_P(Lists, FillingAListOrVariablesFromOneOrTwoColumnsOrNoRowsOfAnyLength) {
    // What is no list control fails before the command runs: the lists below show no X.
    const std::string insert = "INSERT INTO tipos VALUES ('X', 'X', 4)";
    EXPECT_EQ(ErrorOf([&] { session->ListaEnche(Variant("lista"), insert); }), kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { session->ListaEnche(AsVariant(std::make_shared<Object>()), insert); }),
              kNoSuchMember);

    // The command, the list's entries, and the codes from index -1.
    const std::tuple<const char*, std::vector<std::string>, std::vector<Variant>> cases[] = {
        {"SELECT descricao FROM tipos ORDER BY ordem", {"Rua", "Avenida", ""}, {""}},
        {"SELECT codigo, descricao, ordem FROM tipos ORDER BY ordem",
         {"Rua", "Avenida", ""},
         {"", "R", "Av", ""}},
        {"SELECT nada FROM nenhuma", {}, {""}},  // a failed query leaves the list empty
    };
    for (const auto& [sql, entries, codes] : cases) {
        SCOPED_TRACE(sql);
        auto lista = std::make_shared<Lista>();
        Variant got = session->ListaEnche(AsVariant(lista), sql);
        EXPECT_EQ(lista->entries, entries);
        EXPECT_EQ(got.array().LBound(), -1);
        EXPECT_EQ(got.array().items, codes);
        EXPECT_FALSE(SlotBusy(*session, 1));
    }

    // Beyond what a 16-bit counter reaches: every row arrives.
    auto lista = std::make_shared<Lista>();
    Variant codes = session->ListaEnche(
        AsVariant(lista),
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 39999)"
        " SELECT i, 'n' || i FROM n ORDER BY i");
    ASSERT_EQ(lista->entries.size(), 40000u) << session->ErroD;
    EXPECT_EQ(lista->entries.back(), "n39999");
    EXPECT_EQ(codes.array().UBound(), 39999);
    EXPECT_EQ(codes.array().At({39999}).ToInt32(), 39999);

    // A list that fails keeps its entries and the error reaches the caller.
    auto cheia = std::make_shared<Lista>();
    cheia->failAt = 2;
    EXPECT_THROW(
        session->ListaEnche(AsVariant(cheia), "SELECT descricao FROM tipos ORDER BY ordem"),
        std::runtime_error);
    EXPECT_EQ(cheia->entries, std::vector<std::string>{"Rua"});
    EXPECT_FALSE(SlotBusy(*session, 1));  // the result set was given back

    // Variables loaded from the first row.
    auto array = [](int32_t lower, int32_t count) {
        return VariantArray{{{lower, count}}, std::vector<Variant>(size_t(count), Variant("x"))};
    };
    VariantArray v = array(0, 4);
    EXPECT_TRUE(
        session->VarCarrega("SELECT codigo, descricao, ordem FROM tipos WHERE ordem = 3", v));
    EXPECT_EQ(v.items, (std::vector<Variant>{"", "", "3", "x"}));

    VariantArray untouched = array(0, 3);
    EXPECT_FALSE(session->VarCarrega("SELECT codigo FROM tipos WHERE ordem > 9", untouched));
    EXPECT_EQ(untouched.items, array(0, 3).items);

    std::string wide = "SELECT 1";  // wider than an 8-bit count: every column arrives
    for (int i = 2; i <= 300; ++i) wide += ", " + std::to_string(i);
    VariantArray all = array(0, 300);
    EXPECT_TRUE(session->VarCarrega(wide, all));
    EXPECT_EQ(all.items.back().ToInt32(), 300);

    // An array that does not cover every column: error 9, nothing copied.
    for (VariantArray shortOne : {array(0, 2), array(1, 3), VariantArray{{{0, 3}, {0, 1}}, {}}}) {
        std::vector<Variant> before = shortOne.items;
        EXPECT_EQ(ErrorOf([&] {
                      session->VarCarrega("SELECT codigo, descricao, ordem FROM tipos", shortOne);
                  }),
                  kSubscriptOutOfRange);
        EXPECT_EQ(shortOne.items, before);
        EXPECT_FALSE(SlotBusy(*session, 1));
    }
}

KVL_BACKENDS(Lists);
