// The table and list collections loaded from scripted catalogue rows: the batch text, the
// location rules, the deferred rewriting, the accessors and the failures.

#include <gtest/gtest.h>

#include "CatalogueRows.h"
#include "Databases.h"
#include "kvl/ClientObjects.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using namespace kvltest;

namespace {

// A progress form that records every call as "a|b|c", an omitted c written as "-".
class RecordingForm : public ProgressForm {
  public:
    std::vector<std::string> calls;
    void Msg(const Variant& a, const Variant& b, const std::optional<Variant>& c) override {
        calls.push_back(a.ToString() + "|" + b.ToString() + "|" + (c ? c->ToString() : "-"));
    }
};

class Dictionary : public Language {
  public:
    Variant Frase(const Variant& n) override { return Variant("frase " + n.ToString()); }
    Variant Palavra(const Variant& n) override { return Variant("palavra " + n.ToString()); }
};

Variant Holding(std::shared_ptr<Object> o) {
    return Variant(std::move(o));
}

class Collections : public testing::Test {
  protected:
    Collections() {
        NameCatalogues(*s.server);
        s.server->DB = "Emp01";
    }
    // Loads these rows into both collections (only the tables when lists is empty).
    void Load(std::vector<ScriptedOdbc::Row> tables, std::vector<ScriptedOdbc::Row> lists = {},
              std::optional<std::string> mother = std::nullopt) {
        s.odbc->ScriptExecution(
            {TablesCatalogue(std::move(tables)), ListsCatalogue(std::move(lists))});
        s.server->TabelasColecçõesCarrega(std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                          std::nullopt, mother);
    }
    std::string ListSql(int16_t table) {
        std::string sql;
        s.server->TabelasColecçõesItemTab(table, nullptr, nullptr, nullptr, nullptr, &sql);
        return sql;
    }

    ScriptedSession s;
};

}  // namespace

TEST_F(Collections, OneBatchAfterTheClientsTextWithTheCompanyQuoted) {
    s.server->com("SET DATEFORMAT dmy");
    s.odbc->ScriptExecution({TablesCatalogue({}), ListsCatalogue({})});
    s.server->TabelasColecçõesCarrega(std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                      std::string("O'Hara"));
    EXPECT_EQ(s.odbc->executed.back(),
              " SET DATEFORMAT dmy  SELECT iTABtab, sTABnome, iTABtit, sTABrel, sTABconst,"
              " sLTBempdst, iTABlsttit, sTABlstsql, sTABapp FROM TAB,LTB WHERE sTABnome*=sLTBtab"
              " and sLTBemp='O''Hara' ORDER BY iTABtab  SELECT iLSTlst, sLSTconst, iLSTtit,"
              " sLSTsql FROM LST ORDER BY iLSTlst");
    EXPECT_EQ(s.server->ActCom, "");
}

TEST_F(Collections, TheLocationRowWinsThenTheLettersSNFEachOverridingTheOneBefore) {
    struct Case {
        const char* destination;
        const char* letters;
        const char* loc;
    };
    const Case cases[] = {
        {"Emp02", "F", "Emp02.dbo.Artigos"},
        {"", "N", "Emp01.dbo.Artigos"},
        {"", "SN", "Emp01.dbo.Artigos"},
        {"", "S", "Mae.dbo.Artigos"},
        {"", "SNF", "Artigos"},
        {"", "sn", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        Load({TableRow("1", "Artigos", c.destination, c.letters)}, {}, "Mae");
        EXPECT_EQ(s.server->TabelasColecçõesTabLoc(1), c.loc);
    }
}

TEST_F(Collections, NumbersWithGapsListsRewrittenOnceEveryTableIsKnownAndIndexZero) {
    // Table 1's list names table 5, which is read after it.
    Load({TableRow("1", "Artigos", "", "N", "SELECT a FROM &.moradas"),
          TableRow("2", "Clientes", "", "F", "SELECT a, b from @ ORDER BY b"),
          TableRow("5", "Moradas", "Emp02", "")},
         {ListRow("1", "SELECT x from @"), ListRow("3.5", "SELECT y FROM &.Clientes")});

    EXPECT_EQ(s.server->TabelasColecçõesItemTabCount(), 5);
    EXPECT_EQ(s.server->TabelasColecçõesTabLoc(3), "");
    EXPECT_EQ(s.server->TabelasColecçõesNTit(4), 0);
    EXPECT_EQ(s.server->TabelasColecçõesNTit(5), 10);
    EXPECT_EQ(ListSql(1), "SELECT a FROM Emp02.dbo.Moradas");
    EXPECT_EQ(ListSql(2), "SELECT a, b  FROM Clientes  ORDER BY b");

    Variant count;
    s.server->TabelasColecçõesItemTab(0, nullptr, &count);
    EXPECT_EQ(count.kind(), Variant::Kind::Int32);
    EXPECT_EQ(count.ToInt32(), 5);

    // List numbers round half to even: 3.5 is list 4.
    std::string title, sql;
    s.server->TabelasColecçõesItemLst(0, &title);
    EXPECT_EQ(title, "4");
    EXPECT_EQ(s.server->TabelasColecçõesItemLstCount(), 4);
    s.server->TabelasColecçõesItemLst(1, &title, &sql);
    EXPECT_EQ(sql, "SELECT x  FROM Emp01.dbo.Artigos ");
    EXPECT_EQ(title, "");  // no language object: titles stay empty
    s.server->TabelasColecçõesItemLst(4, nullptr, &sql);
    EXPECT_EQ(sql, "SELECT y FROM Clientes");

    for (int16_t outside : {-1, 6}) {
        EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesTabLoc(outside); }),
                  kSubscriptOutOfRange);
        EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesNTit(outside); }), kSubscriptOutOfRange);
        EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesItemTab(outside); }),
                  kSubscriptOutOfRange);
    }
    EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesItemLst(5); }), kSubscriptOutOfRange);

    s.server->Fecha();
    EXPECT_EQ(s.server->TabelasColecçõesItemTabCount(), 0);
    EXPECT_EQ(s.server->TabelasColecçõesItemLstCount(), 0);
}

TEST_F(Collections, ProgressMessagesAndTitlesWithAndWithoutALanguage) {
    struct Case {
        bool language;
        std::vector<std::string> calls;
        const char* title;
    };
    const Case cases[] = {
        {true, {"|frase 386|-", "|frase 511|-", "||-"}, "palavra 10"},
        {false, {"||", "||", "||-"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        auto form = std::make_shared<RecordingForm>();
        std::optional<Variant> lingua;
        if (c.language) lingua = Holding(std::make_shared<Dictionary>());
        s.odbc->ScriptExecution(
            {TablesCatalogue({TableRow("1", "T", "", "F")}), ListsCatalogue({ListRow("1", "")})});
        s.server->TabelasColecçõesCarrega(Holding(form), lingua);
        EXPECT_EQ(form->calls, c.calls);
        std::string loc, lst, listTitle;
        Variant tit;
        s.server->TabelasColecçõesItemTab(1, &loc, &tit, nullptr, &lst);
        s.server->TabelasColecçõesItemLst(1, &listTitle);
        EXPECT_EQ(tit.ToString(), c.title);
        EXPECT_EQ(lst, c.language ? "palavra 11" : "");
        EXPECT_EQ(listTitle, c.language ? "palavra 20" : "");
    }
    // Objects that are not what they should be fail before anything runs.
    size_t runs = s.odbc->executed.size();
    EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesCarrega(Variant("form")); }), kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] {
                  s.server->TabelasColecçõesCarrega(Holding(std::make_shared<Dictionary>()));
              }),
              kNoSuchMember);
    EXPECT_EQ(s.odbc->executed.size(), runs);
}

TEST_F(Collections, ReadingOnlyTheListsKeepsTheTablesAndStaysOnTheFirstResult) {
    Load({TableRow("2", "Clientes", "", "F")}, {ListRow("1", "a")});
    s.odbc->ScriptExecution({ListsCatalogue({ListRow("2", "SELECT c FROM &.clientes")})});
    size_t moves = s.odbc->Count("MoreResults");
    s.server->TabelasColecçõesCarrega(std::nullopt, std::nullopt, false, true);

    EXPECT_EQ(s.odbc->executed.back(),
              "  SELECT iLSTlst, sLSTconst, iLSTtit, sLSTsql FROM LST ORDER BY iLSTlst");
    EXPECT_EQ(s.odbc->Count("MoreResults"), moves);
    EXPECT_EQ(s.server->TabelasColecçõesTabLoc(2), "Clientes");
    EXPECT_EQ(s.server->TabelasColecçõesItemLstCount(), 2);
    std::string sql;
    s.server->TabelasColecçõesItemLst(1, nullptr, &sql);
    EXPECT_EQ(sql, "");  // the list collection was replaced, not merged
    s.server->TabelasColecçõesItemLst(2, nullptr, &sql);
    EXPECT_EQ(sql, "SELECT c FROM Clientes");
}

TEST_F(Collections, BadRowsFailTheLoadKeepingTheEntriesReadBefore) {
    struct Case {
        std::vector<ScriptedOdbc::Row> tables;
        std::vector<ScriptedOdbc::Row> lists;
        int32_t error;
    };
    const Case cases[] = {
        {{TableRow("1", "A", "", "F"), TableRow("0", "B", "", "F")}, {}, kSubscriptOutOfRange},
        {{TableRow("1", "A", "", "F"), TableRow("-4", "B", "", "F")}, {}, kSubscriptOutOfRange},
        {{TableRow("1", "A", "", "F"), TableRow("32768", "B", "", "F")}, {}, kOverflow},
        {{TableRow("1", "A", "", "F"), TableRow("dois", "B", "", "F")}, {}, kTypeMismatch},
        // The mother database was not given for a table placed there.
        {{TableRow("1", "A", "", "F"), TableRow("2", "B", "", "S")}, {}, kTypeMismatch},
        // List 2 refers to table 2, which does not exist.
        {{TableRow("1", "A", "", "F")}, {ListRow("2", "SELECT x from @")}, kSubscriptOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        s.odbc->ScriptExecution({TablesCatalogue(c.tables), ListsCatalogue(c.lists)});
        EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesCarrega(); }), c.error);
        EXPECT_EQ(s.server->TabelasColecçõesTabLoc(1), "A");
    }
}

TEST_F(Collections, AFailedBatchLeavesBothCollectionsEmpty) {
    Load({TableRow("1", "A", "", "F")}, {ListRow("1", "x")});
    s.Fail(208, "42S02", "Invalid object name 'TAB'");
    s.server->TabelasColecçõesCarrega();
    EXPECT_TRUE(s.server->erro);
    EXPECT_EQ(s.server->TabelasColecçõesItemTabCount(), 0);
    EXPECT_EQ(s.server->TabelasColecçõesItemLstCount(), 0);
}

TEST_F(Collections, PlaceholdersRewrittenByTheTableTheyDesignate) {
    Load({TableRow("1", "Clientes", "Emp01", ""), TableRow("3", "T", "X", "")});
    struct Case {
        const char* sql;
        int16_t index;
        const char* rewritten;
    };
    const Case cases[] = {
        {"SELECT a, b from @ ORDER BY b", 3, "SELECT a, b  FROM X.dbo.T  ORDER BY b"},
        {"select a FROM @", 3, "select a  FROM X.dbo.T "},
        {"SELECT c FROM &.Clientes WHERE x=1", 0, "SELECT c FROM Emp01.dbo.Clientes WHERE x=1"},
        {"SELECT c FROM &.CLIENTES", 0, "SELECT c FROM Emp01.dbo.Clientes"},
        {"SELECT c FROM &.Nada WHERE x=1", 0, "SELECT c FROM Nada WHERE x=1"},
        {"SELECT c FROM &.clientes\r\nWHERE x=1", 0,
         "SELECT c FROM Emp01.dbo.Clientes\r\nWHERE x=1"},
        {"SELECT c FROM &.x.dbo.t,&.clientes", 0, "SELECT c FROM X.dbo.T,Emp01.dbo.Clientes"},
        // A name left as it was, however short, hides no placeholder behind it.
        {"SELECT c FROM &.q,&.z", 0, "SELECT c FROM q,z"},
        {"SELECT &.clientes.c from @", 3, "SELECT &.clientes.c  FROM X.dbo.T "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(s.server->TabelasColecçõesCarrega_CorrigeSQL(c.sql, c.index), c.rewritten);
    }
    EXPECT_EQ(ErrorOf([&] { s.server->TabelasColecçõesCarrega_CorrigeSQL("from @", 4); }),
              kSubscriptOutOfRange);
}
