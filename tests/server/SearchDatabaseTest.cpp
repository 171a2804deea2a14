// A session loads its collections from catalogue rows the scripted layer gives (their batch
// runs on no real driver), then runs the description look-up and ranked searches against
// real tables.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/ClientObjects.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using namespace kvltest;

namespace {

ScriptedOdbc::Result TextRows(size_t columns, std::vector<ScriptedOdbc::Row> rows) {
    ScriptedOdbc::Result r;
    for (size_t c = 1; c <= columns; ++c)
        r.columns.push_back({"c" + std::to_string(c), 12, 255, 0, 1});
    r.rows = std::move(rows);
    return r;
}

// A row of the tables catalogue placed by its bare name: number, name, list SQL.
ScriptedOdbc::Row TableRow(const char* number, const char* name, const char* listSql) {
    return {number, name, "10", "rel", "const", "", "11", listSql, "F"};
}

ScriptedOdbc::Row ListRow(const char* number, const char* sql) {
    return {number, "const", "20", sql};
}

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

        session->TabelaDeTabelas = "TAB";
        session->TabelaLocDeTabelas = "LTB";
        session->TabelaDeListas = "LST";
        odbc->ScriptExecution(
            {TextRows(9,
                      {TableRow("1", "ruas", "SELECT r.codigo, r.nome from @ r ORDER BY r.codigo"),
                       TableRow("2", "tipos", "SELECT t.codigo, t.descricao FROM &.TIPOS t"),
                       TableRow("3", "tipos", "SELECT descricao FROM &.tipos")}),
             TextRows(4, {ListRow("1", ""), ListRow("2", "SELECT descricao FROM &.Tipos")})});
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

// The search command names its scores the SQL Server way (name= expression); SQLite and
// PostgreSQL want expression AS name.
std::string NamedAsTheTestDatabasesNameThem(const std::string& c) {
    size_t i = c.find(", Importancia="), p = c.find(", Palavras="), f = c.find(" FROM ");
    return c.substr(0, i) + "," + c.substr(i + 14, p - i - 14) + " AS Importancia," +
           c.substr(p + 11, f - p - 11) + " AS Palavras" + c.substr(f);
}

}  // namespace

// The session's members over the collections it loaded; the loading and the rewriting
// themselves are CollectionsTest's.
TEST_P(SearchOnTables, TheLoadedCollectionsAnswerThroughTheSession) {
    EXPECT_EQ(session->TabelasColecçõesItemTabCount(), 3);
    EXPECT_EQ(session->TabelasColecçõesItemLstCount(), 2);
    Variant count, ntit;
    std::string loc, listCount, list2;
    session->TabelasColecçõesItemTab(0, nullptr, &count);  // entry 0's title: the count
    EXPECT_EQ(count, Variant(int32_t{3}));
    session->TabelasColecçõesItemLst(0, &listCount);
    EXPECT_EQ(listCount, "2");
    session->TabelasColecçõesItemTab(2, &loc, nullptr, &ntit);
    EXPECT_EQ(loc + " " + ntit.ToString(), session->TabelasColecçõesTabLoc(2) + " 10");
    EXPECT_EQ(session->TabelasColecçõesNTit(2), 10);
    session->TabelasColecçõesItemLst(2, nullptr, &list2);
    EXPECT_EQ(list2, "SELECT descricao FROM tipos");
    EXPECT_EQ(session->TabelasColecçõesCarrega_CorrigeSQL("SELECT nome FROM &.RUAS", 0),
              "SELECT nome FROM ruas");

    // Objects that are not what they should be fail before anything is read again.
    EXPECT_EQ(ErrorOf([&] { session->TabelasColecçõesCarrega(Variant("form")); }), kObjectNotSet);
    EXPECT_EQ(session->TabelasColecçõesItemTabCount(), 3);
    session->Fecha();  // the close forgets them
    EXPECT_EQ(session->TabelasColecçõesItemTabCount() + session->TabelasColecçõesItemLstCount(), 0);
}

TEST_P(SearchOnTables, DescriptionsFromTheColumnsOfTheTablesList) {
    // Code, table, a further column; the description and that column's value found.
    const std::tuple<Variant, int16_t, const char*, const char*, const char*> cases[] = {
        {Variant(int16_t{2}), 1, "tipo", "Avenida da Liberdade", "Av"},  // prefixed items
        {Variant("99"), 1, "tipo", "", ""},
        {Variant("'R'"), 2, "codigo", "Rua", "R"},
    };
    for (const auto& [code, table, column, description, value] : cases) {
        Variant other(column);
        EXPECT_EQ(session->PesquisaDesc(code, Variant(table), nullptr, nullptr, &other),
                  description);
        EXPECT_EQ(other.ToString(), value);
    }
    Variant code("codigo"), description("descricao");
    EXPECT_EQ(session->PesquisaDesc(Variant("'Av'"), Variant(int16_t{3}), &code, &description),
              "Avenida");
    EXPECT_FALSE(session->erro);

    // Table 3's list has no second item, so no description column: the command fails.
    Variant other("codigo");
    EXPECT_EQ(
        session->PesquisaDesc(Variant("'Rua'"), Variant(int16_t{3}), nullptr, nullptr, &other), "");
    EXPECT_EQ(other.ToString(), "");
    EXPECT_TRUE(session->erro);
}

TEST_P(SearchOnTables, ARankedSearchOrdersTheRowsItFinds) {
    Run("CREATE TABLE lugares (codigo int, nome varchar(40))");
    for (const char* row : {"1, 'Rua Velha'", "2, 'Avenida Nova de Lisboa'", "3, 'Praça'",
                            "4, 'Rua Nova'", "5, 'p68'", "6, 'p69'"})
        Run(std::string("INSERT INTO lugares VALUES (") + row + ")");
    std::string seventy;  // p69 first, weighing more than all the words after it
    for (int n = 69; n >= 0; --n) seventy += "p" + std::to_string(n) + " ";
    // rua weighs 4, nova 2, lisboa 1.
    const std::tuple<std::string, bool, std::vector<std::string>> cases[] = {
        {"Rua Nova Lisboa", false, {"4", "1", "2"}},
        {"Rua Nova Lisboa", true, {"4", "2", "1"}},
        {seventy, false, {"6", "5"}},
    };
    for (auto [typed, byWords, codes] : cases) {
        Variant command = session->Pesquisa("lugares", "lower(nome)", "codigo", typed, false,
                                            std::nullopt, byWords);
        EXPECT_EQ(Rows(NamedAsTheTestDatabasesNameThem(command.ToString())), codes) << typed;
    }
}

KVL_BACKENDS(SearchOnTables);
