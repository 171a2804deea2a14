// The table and list collections and the ranked search. The collections are read from
// catalogue rows a fake runner gives: the batch, the location rules, the rewriting of the SQL
// they store, progress and failures. The search command is read as text where the test
// databases cannot run or show it: the user's text normalised, TOP, an anchored wildcard, a
// text without words and exact large weights. Then a session loads its collections from
// catalogue rows the scripted layer gives (their batch runs on no real driver) and runs the
// description look-up and ranked searches against real tables.

#include <gtest/gtest.h>

#include "../../kvl/services/Collections.h"
#include "Databases.h"
#include "FakeRunner.h"
#include "kvl/ClientObjects.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using namespace kvltest;

namespace {

using Texts = std::vector<std::string>;
using Rows = std::vector<Texts>;

// A row of the tables catalogue: number, name, location, placement letters, list SQL.
Texts TableRow(const char* number, const char* name, const char* destination, const char* letters,
               const char* listSql = "") {
    return {number, name, "10", "rel", "const", destination, "11", listSql, letters};
}

// A row of the lists catalogue: number and SQL.
Texts ListRow(const char* number, const char* sql) {
    return {number, "const", "20", sql};
}

// A progress form that records every call as "a|b|c", an omitted c written as "-".
struct RecordingForm : ProgressForm {
    std::vector<std::string> calls;
    void Msg(const Variant& a, const Variant& b, const std::optional<Variant>& c) override {
        calls.push_back(a.ToString() + "|" + b.ToString() + "|" + (c ? c->ToString() : "-"));
    }
};

struct Dictionary : Language {
    Variant Frase(const Variant& n) override { return Variant("frase " + n.ToString()); }
    Variant Palavra(const Variant& n) override { return Variant("palavra " + n.ToString()); }
};

class Collections : public testing::Test {
  protected:
    Collections() {
        s->TabelaDeTabelas = "TAB";
        s->TabelaLocDeTabelas = "LTB";
        s->TabelaDeListas = "LST";
        options.company = "Emp01";
    }
    // Loads both collections from these catalogue rows, one result set each.
    void Load(const Rows& tables, const Rows& lists = {}) {
        services::Answer a = FakeRunner::Rows(tables);
        a.sets.push_back(FakeRunner::Rows(lists).sets[0]);
        run.answers.push_back(std::move(a));
        collections.Load(run, *s, options);
    }

    std::shared_ptr<kvlSERV> s = kvlSERV::Create();
    FakeRunner run;
    services::Collections::LoadOptions options;
    services::Collections collections;
};

// The scripted layer's result set of these rows, every column a text.
ScriptedOdbc::Result TextRows(const Rows& rows) {
    ScriptedOdbc::Result r;
    for (size_t c = 1; c <= rows.at(0).size(); ++c)
        r.columns.push_back({"c" + std::to_string(c), 12, 255, 0, 1});
    for (const Texts& row : rows) r.rows.emplace_back(row.begin(), row.end());
    return r;
}

class SearchOnTables : public BackendTest {
  protected:
    SearchOnTables() { session = kvlSERV::Create(odbc); }

    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE ruas (codigo int, nome varchar(40), tipo varchar(4))");
        Run("INSERT INTO ruas VALUES (1, 'Rua Nova', 'R'), (2, 'Avenida da Liberdade', 'Av')");
        Run("CREATE TABLE tipos (codigo varchar(4), descricao varchar(20))");
        Run("INSERT INTO tipos VALUES ('R', 'Rua'), ('Av', 'Avenida')");

        // The tables placed by their bare names; the scripted layer answers whatever is asked.
        odbc->ScriptExecution(
            {TextRows(
                 {TableRow("1", "ruas", "", "F",
                           "SELECT r.codigo, r.nome from @ r ORDER BY r.codigo"),
                  TableRow("2", "tipos", "", "F", "SELECT t.codigo, t.descricao FROM &.TIPOS t"),
                  TableRow("3", "tipos", "", "F", "SELECT descricao FROM &.tipos")}),
             TextRows({ListRow("1", ""), ListRow("2", "SELECT descricao FROM &.Tipos")})});
        session->TabelasColecçõesCarrega();
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

TEST_F(Collections, OneBatchAfterThePendingTextThenTheListsAloneReplacingTheirs) {
    run.pending = " SET DATEFORMAT dmy";
    options.company = "O'Hara";  // a literal
    Load({TableRow("2", "Clientes", "", "F")}, {ListRow("1", "a")});
    options.tables = false;  // the lists' rows are then the first result set
    run.answers.push_back(FakeRunner::Rows({ListRow("2", "SELECT c FROM &.clientes")}));
    collections.Load(run, *s, options);
    EXPECT_EQ(run.queries,
              (std::vector<std::string>{
                  " SET DATEFORMAT dmy  SELECT iTABtab, sTABnome, iTABtit, sTABrel, sTABconst,"
                  " sLTBempdst, iTABlsttit, sTABlstsql, sTABapp FROM TAB,LTB WHERE"
                  " sTABnome*=sLTBtab and sLTBemp='O''Hara' ORDER BY iTABtab  SELECT iLSTlst,"
                  " sLSTconst, iLSTtit, sLSTsql FROM LST ORDER BY iLSTlst",
                  "  SELECT iLSTlst, sLSTconst, iLSTtit, sLSTsql FROM LST ORDER BY iLSTlst"}));
    EXPECT_EQ(collections.TableAt(2).loc, "Clientes");  // the tables are kept
    EXPECT_EQ(collections.ListAt(1).sql, "");           // replaced, not merged
    EXPECT_EQ(collections.ListAt(2).sql, "SELECT c FROM Clientes");

    // A failed batch leaves both collections empty.
    options.tables = true;
    run.answers.push_back({});
    collections.Load(run, *s, options);
    EXPECT_EQ(collections.TableUpper() + collections.ListUpper(), 0);
}

TEST_F(Collections, NumbersWithGapsAndListSqlRewrittenOnceEveryTableIsKnown) {
    // Table 1's list names table 5, which is read after it.
    Load({TableRow("1", "Artigos", "", "N", "SELECT a FROM &.moradas"),
          TableRow("2", "Clientes", "", "F", "SELECT a, b from @ ORDER BY b"),
          TableRow("5", "Moradas", "Emp02", "")},
         {ListRow("1", "SELECT x from @"), ListRow("4", "")});
    EXPECT_EQ(collections.TableUpper(), 5);
    EXPECT_EQ(collections.TableAt(4).ntit, 0);  // a gap is an empty entry
    EXPECT_EQ(collections.TableAt(5).ntit, 10);
    EXPECT_EQ(collections.TableAt(1).lstSql, "SELECT a FROM Emp02.dbo.Moradas");
    EXPECT_EQ(collections.TableAt(2).lstSql, "SELECT a, b  FROM Clientes  ORDER BY b");
    EXPECT_EQ(collections.ListUpper(), 4);
    EXPECT_EQ(collections.ListAt(1).sql, "SELECT x  FROM Emp01.dbo.Artigos ");  // list k: table k
    EXPECT_EQ(ErrorOf([&] { collections.TableAt(6); }), kSubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { collections.ListAt(-1); }), kSubscriptOutOfRange);
}

TEST_F(Collections, ProgressMessagesAndTitlesWithAndWithoutALanguage) {
    for (bool language : {true, false}) {
        SCOPED_TRACE(language);
        RecordingForm form;
        Dictionary dictionary;
        options.form = &form;
        options.language = language ? &dictionary : nullptr;
        Load({TableRow("1", "T", "", "F")}, {ListRow("1", "")});
        const auto& t = collections.TableAt(1);
        EXPECT_EQ(form.calls, (language ? Texts{"|frase 386|-", "|frase 511|-", "||-"}
                                        : Texts{"||", "||", "||-"}));
        EXPECT_EQ(t.tit + "," + t.lst + "," + collections.ListAt(1).tit,
                  language ? "palavra 10,palavra 11,palavra 20" : ",,");
    }
}

TEST_F(Collections, EachTableLocatedByItsRowOrLettersAndABadRowFailsTheLoad) {
    const auto a = TableRow("1", "A", "", "F");
    const std::tuple<Rows, Rows, int32_t> cases[] = {
        {{a, TableRow("0", "B", "", "F")}, {}, kSubscriptOutOfRange},
        {{a, TableRow("32768", "B", "", "F")}, {}, kOverflow},
        {{a, TableRow("dois", "B", "", "F")}, {}, kTypeMismatch},
        {{a, TableRow("2", "B", "", "S")}, {}, kTypeMismatch},           // no mother database given
        {{a}, {ListRow("2", "SELECT x from @")}, kSubscriptOutOfRange},  // no table 2
    };
    for (const auto& [tables, lists, error] : cases) {
        EXPECT_EQ(ErrorOf([&] { Load(tables, lists); }), error);
        EXPECT_EQ(collections.TableAt(1).loc, "A");
    }

    // The location row wins, then the letters S, N and F, each overriding the one before.
    const std::tuple<const char*, const char*, const char*> located[] = {
        {"Emp02", "F", "Emp02.dbo.Artigos"},
        {"", "SN", "Emp01.dbo.Artigos"},
        {"", "S", "Mae.dbo.Artigos"},
        {"", "SNF", "Artigos"},
        {"", "sn", ""},
    };
    options.mother = "Mae";
    for (const auto& [destination, letters, loc] : located) {
        Load({TableRow("1", "Artigos", destination, letters)});
        EXPECT_EQ(collections.TableAt(1).loc, loc) << letters;
    }
}

TEST_F(Collections, PlaceholdersRewrittenByTheTableTheyDesignate) {
    Load({TableRow("1", "Clientes", "Emp01", ""), TableRow("3", "T", "X", "")});
    const std::tuple<const char*, int16_t, const char*> cases[] = {
        {"SELECT c FROM &.CLIENTES WHERE x=1", 0, "SELECT c FROM Emp01.dbo.Clientes WHERE x=1"},
        {"SELECT c FROM &.clientes\r\nWHERE x=1", 0,
         "SELECT c FROM Emp01.dbo.Clientes\r\nWHERE x=1"},
        {"SELECT c FROM &.x.dbo.t,&.clientes", 0, "SELECT c FROM X.dbo.T,Emp01.dbo.Clientes"},
        // A name left as it was, however short, hides no placeholder behind it.
        {"SELECT c FROM &.q,&.z", 0, "SELECT c FROM q,z"},
        // Only what follows the FROM clause is looked at.
        {"SELECT &.clientes.c from @", 3, "SELECT &.clientes.c  FROM X.dbo.T "},
    };
    for (const auto& [sql, index, rewritten] : cases)
        EXPECT_EQ(collections.Rewrite(sql, index), rewritten) << sql;
    EXPECT_EQ(ErrorOf([&] { collections.Rewrite("from @", 4); }), kSubscriptOutOfRange);
}

TEST(Pesquisa, TheTextNormalisedAnAnchoredWildcardTheRowLimitNoWordsAndExactWeights) {
    auto s = kvlSERV::Create();
    std::string text;  // the user's, which the search writes back
    // The command for text on table T, column C, returning ID.
    auto search = [&](std::string typed, std::optional<Variant> accents = false,
                      std::optional<Variant> rows = std::nullopt) {
        text = std::move(typed);
        return s->Pesquisa("T", "C", "ID", text, accents, rows).ToString();
    };
    // Typed, whether accents count (omitted: ignored), searched.
    const std::tuple<const char*, std::optional<Variant>, const char*> cases[] = {
        {"São", true, "s[a,á,à,ã,â,ä][o,ó,ò,ô,õ]"},
        {"ÉÇÜ", std::nullopt, "[e,é,è,ê][c,ç]ü"},
        {"AÇÃO", false, "ação"},
        {"[O'Ne\x02il]", false, "oneil"},
    };
    for (const auto& [typed, accents, searched] : cases) {
        SCOPED_TRACE(typed);
        std::string command = search(typed, accents);
        EXPECT_EQ(text, searched);
        EXPECT_NE(command.find(std::string(" where  C like '%") + searched + "%'  order"),
                  std::string::npos)
            << command;
    }

    // A "%" typed at an end anchors only the filter.
    std::string command = search("%ria");
    EXPECT_NE(command.find("Importancia= (Case When C like '%%ria%' then 1"), std::string::npos);
    EXPECT_NE(command.find(" where  C like '%ria'  order"), std::string::npos) << command;
    EXPECT_EQ(search("   "), " SELECT ID FROM T where  order by Importancia DESC, Palavras DESC");
    EXPECT_EQ(text, "   ");
    for (Variant none : {Variant(int16_t{0}), Variant(int16_t{-3})})
        EXPECT_EQ(search("a", false, none).find("TOP"), std::string::npos);
    EXPECT_TRUE(search("a", false, Variant("25")).starts_with(" SELECT TOP 25 ID,"));

    // The weights of seventy words stay exact integers.
    std::string typed;
    for (int n = 69; n >= 0; --n) typed += "p" + std::to_string(n) + "  ";  // p69 first
    command = search(typed);
    for (auto [k, digits] : {std::pair{0, "1"}, std::pair{64, "18446744073709551616"},
                             std::pair{69, "590295810358705651712"}}) {
        std::string term = "like '%p" + std::to_string(k) + "%' then " + digits + " else";
        EXPECT_NE(command.find(term), std::string::npos) << term;
    }
    EXPECT_EQ(command.find("e+"), std::string::npos);  // no number in exponent form
}

// The session's members over the collections it loaded; the loading and the rewriting
// themselves are the Collections tests'.
TEST_P(SearchOnTables, TheLoadedCollectionsAnswerThroughTheSessionAndDescribeCodes) {
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

    // Descriptions from the columns of the tables' lists: code, table, a further column; the
    // description and that column's value found.
    const std::tuple<Variant, int16_t, const char*, const char*, const char*> cases[] = {
        {Variant(int16_t{2}), 1, "tipo", "Avenida da Liberdade", "Av"},  // prefixed items
        {Variant("99"), 1, "tipo", "", ""},
        {Variant("'R'"), 2, "codigo", "Rua", "R"},
        // Table 3's list has no second item, so no description column: the command fails.
        {Variant("'Rua'"), 3, "codigo", "", ""},
    };
    for (const auto& [code, table, column, description, value] : cases) {
        Variant other(column);
        EXPECT_EQ(session->PesquisaDesc(code, Variant(table), nullptr, nullptr, &other),
                  description);
        EXPECT_EQ(other.ToString(), value);
        EXPECT_EQ(session->erro, table == 3) << column;
    }
    Variant code("codigo"), description("descricao");  // given, no list item is needed
    EXPECT_EQ(session->PesquisaDesc(Variant("'Av'"), Variant(int16_t{3}), &code, &description),
              "Avenida");

    // Objects that are not what they should be fail before anything is read again.
    EXPECT_EQ(ErrorOf([&] { session->TabelasColecçõesCarrega(Variant("form")); }), kObjectNotSet);
    EXPECT_EQ(session->TabelasColecçõesItemTabCount(), 3);
    session->Fecha();  // the close forgets them
    EXPECT_EQ(session->TabelasColecçõesItemTabCount() + session->TabelasColecçõesItemLstCount(), 0);
}

TEST_P(SearchOnTables, ARankedSearchOrdersTheRowsItFinds) {
    Run("CREATE TABLE lugares (codigo int, nome varchar(40))");
    Run("INSERT INTO lugares VALUES (1, 'Rua Velha'), (2, 'Avenida Nova de Lisboa'), (3, 'Praça'),"
        " (4, 'Rua Nova'), (5, 'p68'), (6, 'p69')");
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
        auto r = session->Exec(NamedAsTheTestDatabasesNameThem(command.ToString()));
        std::vector<std::string> found;
        while (r->TemLinhas()) found.push_back(r->Col(1).ToString());
        EXPECT_EQ(found, codes) << typed << ": " << r->ErroD;
    }
}

KVL_BACKENDS(SearchOnTables);
