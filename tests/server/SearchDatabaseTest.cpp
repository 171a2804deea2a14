// One session loads its collections from scripted catalogue rows (their batch runs on no
// real driver) and then runs the rewritten list SQL and the description look-up against
// real tables.

#include <gtest/gtest.h>

#include "CatalogueRows.h"
#include "Databases.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using namespace kvltest;

namespace {

class SearchOnTables : public BackendTest {
  protected:
    SearchOnTables() { session = kvlSERV::Create(odbc); }

    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE ruas (codigo int, nome varchar(40), tipo varchar(4))");
        Run("INSERT INTO ruas VALUES (1, 'Rua Nova', 'R')");
        Run("INSERT INTO ruas VALUES (2, 'Avenida da Liberdade', 'Av')");
        Run("CREATE TABLE tipos (codigo varchar(4), descricao varchar(20))");
        Run("INSERT INTO tipos VALUES ('R', 'Rua')");
        Run("INSERT INTO tipos VALUES ('Av', 'Avenida')");

        NameCatalogues(*session);
        odbc->ScriptExecution(
            {TablesCatalogue({
                 TableRow("1", "ruas", "", "F",
                          "SELECT r.codigo, r.nome from @ r ORDER BY r.codigo"),
                 TableRow("2", "tipos", "", "F", "SELECT t.codigo, t.descricao FROM &.TIPOS t"),
                 TableRow("3", "tipos", "", "F", "SELECT descricao FROM &.tipos"),
             }),
             ListsCatalogue({
                 ListRow("1", "SELECT nome from @ WHERE codigo > 1"),
                 ListRow("2",
                         "SELECT descricao FROM &.Tipos,&.RUAS\r\nWHERE tipos.codigo ="
                         " ruas.tipo ORDER BY descricao DESC"),
             })});
        session->TabelasColecçõesCarrega();
        ASSERT_FALSE(session->erro);
    }

    // The first column of every row the command gives.
    std::vector<std::string> Rows(const std::string& sql) {
        auto r = session->Exec(sql);
        EXPECT_FALSE(r->erro) << sql << ": " << r->ErroD;
        std::vector<std::string> rows;
        while (r->TemLinhas()) rows.push_back(r->Col(1).ToString());
        return rows;
    }

    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>(odbc::UnixOdbc());
};

}  // namespace

TEST_P(SearchOnTables, TheRewrittenListSqlRuns) {
    std::string table1, list1, list2;
    session->TabelasColecçõesItemTab(1, nullptr, nullptr, nullptr, nullptr, &table1);
    session->TabelasColecçõesItemLst(1, nullptr, &list1);
    session->TabelasColecçõesItemLst(2, nullptr, &list2);
    EXPECT_EQ(Rows(table1), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Rows(list1), (std::vector<std::string>{"Avenida da Liberdade"}));
    EXPECT_EQ(Rows(list2), (std::vector<std::string>{"Rua", "Avenida"}));
}

TEST_P(SearchOnTables, DescriptionsFoundNotFoundAndAnotherColumn) {
    struct Case {
        Variant code;
        int16_t table;
        const char* description;
        const char* other;  // the value OutraCol receives
    };
    const Case cases[] = {
        {Variant(int16_t{2}), 1, "Avenida da Liberdade", "Av"},  // items with a table prefix
        {Variant("99"), 1, "", ""},
        {Variant("'R'"), 2, "Rua", "R"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        Variant other(c.table == 1 ? "tipo" : "codigo");
        EXPECT_EQ(session->PesquisaDesc(c.code, Variant(c.table), nullptr, nullptr, &other),
                  c.description);
        EXPECT_EQ(other.ToString(), c.other);
        EXPECT_EQ(session->PesquisaDesc(c.code, Variant(c.table)), c.description);
    }
    Variant code("codigo"), description("descricao");
    EXPECT_EQ(session->PesquisaDesc(Variant("'Av'"), Variant(int16_t{3}), &code, &description),
              "Avenida");
    EXPECT_FALSE(session->erro);
}

TEST_P(SearchOnTables, AListWithOneItemAndNoDescriptionColumnGivesNothing) {
    // The column list is empty: SQLite rejects the command; PostgreSQL takes an empty
    // select list and gives rows without a column, which hold no description either.
    EXPECT_EQ(session->PesquisaDesc(Variant("'Rua'"), Variant(int16_t{3})), "");
    EXPECT_EQ(odbc->executed.back(), "SELECT  FROM tipos WHERE descricao = 'Rua'");
    EXPECT_EQ(session->erro, !IsPostgres());
    // With one more column both servers reject it.
    Variant other("codigo");
    EXPECT_EQ(
        session->PesquisaDesc(Variant("'Rua'"), Variant(int16_t{3}), nullptr, nullptr, &other), "");
    EXPECT_EQ(other.ToString(), "");
    EXPECT_TRUE(session->erro);
    EXPECT_FALSE(session->ErroD.empty());
    EXPECT_EQ(odbc->executed.back(), "SELECT , codigo FROM tipos WHERE descricao = 'Rua'");
}

TEST_P(SearchOnTables, WeightsBeyond64BitsAreReadAsNumbers) {
    // 2^69, the weight of the first of seventy words.
    auto r = session->Exec(
        "SELECT (Case When 'rua' like '%r%' then 590295810358705651712 else 0 end) +"
        " (Case When 'rua' like '%u%' then 1 else 0 end)");
    ASSERT_TRUE(r->TemLinhas()) << r->ErroD;
    EXPECT_DOUBLE_EQ(r->Col(1).ToDouble(), 590295810358705651713.0);
    // PostgreSQL reads the literal as an exact numeric.
    if (IsPostgres()) {
        EXPECT_EQ(r->Col(1).ToString(), "590295810358705651713");
    }
}

KVL_BACKENDS(SearchOnTables);
