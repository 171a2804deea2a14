// The table and list collections read from catalogue rows a fake runner gives: the batch,
// the location rules, the rewriting of the SQL they store, progress and failures.

#include <gtest/gtest.h>

#include "../../kvl/services/Collections.h"
#include "Databases.h"
#include "FakeRunner.h"
#include "kvl/ClientObjects.h"

using namespace kvl;
using kvltest::ErrorOf;
using kvltest::FakeRunner;
using Options = services::Collections::LoadOptions;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A row of the tables catalogue: number, name, location, placement letters, list SQL.
std::vector<std::string> TableRow(const char* number, const char* name, const char* destination,
                                  const char* letters, const char* listSql = "") {
    return {number, name, "10", "rel", "const", destination, "11", listSql, letters};
}

// A row of the lists catalogue: number and SQL.
std::vector<std::string> ListRow(const char* number, const char* sql) {
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
    Options options;
    services::Collections collections;
};

}  // namespace

TEST_F(Collections, OneBatchAfterThePendingTextWithTheCompanyAsALiteral) {
    run.pending = " SET DATEFORMAT dmy";
    options.company = "O'Hara";
    Load({});
    options.tables = false;
    collections.Load(run, *s, options);
    EXPECT_EQ(run.queries,
              (std::vector<std::string>{
                  " SET DATEFORMAT dmy  SELECT iTABtab, sTABnome, iTABtit, sTABrel, sTABconst,"
                  " sLTBempdst, iTABlsttit, sTABlstsql, sTABapp FROM TAB,LTB WHERE"
                  " sTABnome*=sLTBtab and sLTBemp='O''Hara' ORDER BY iTABtab  SELECT iLSTlst,"
                  " sLSTconst, iLSTtit, sLSTsql FROM LST ORDER BY iLSTlst",
                  "  SELECT iLSTlst, sLSTconst, iLSTtit, sLSTsql FROM LST ORDER BY iLSTlst"}));
}

TEST_F(Collections, TheLocationRowWinsThenTheLettersSNFEachOverridingTheOneBefore) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Emp02", "F", "Emp02.dbo.Artigos"},
        {"", "SN", "Emp01.dbo.Artigos"},
        {"", "S", "Mae.dbo.Artigos"},
        {"", "SNF", "Artigos"},
        {"", "sn", ""},
    };
    options.mother = "Mae";
    for (const auto& [destination, letters, loc] : cases) {
        Load({TableRow("1", "Artigos", destination, letters)});
        EXPECT_EQ(collections.TableAt(1).loc, loc) << letters;
    }
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
        if (language) {
            EXPECT_EQ(form.calls,
                      (std::vector<std::string>{"|frase 386|-", "|frase 511|-", "||-"}));
            EXPECT_EQ(t.tit + "," + t.lst + "," + collections.ListAt(1).tit,
                      "palavra 10,palavra 11,palavra 20");
        } else {
            EXPECT_EQ(form.calls, (std::vector<std::string>{"||", "||", "||-"}));
            EXPECT_EQ(t.tit + t.lst + collections.ListAt(1).tit, "");
        }
    }
}

TEST_F(Collections, ReadingOnlyTheListsKeepsTheTablesAndAFailedBatchEmptiesBoth) {
    Load({TableRow("2", "Clientes", "", "F")}, {ListRow("1", "a")});
    options.tables = false;  // the lists' rows are then the first result set
    run.answers.push_back(FakeRunner::Rows({ListRow("2", "SELECT c FROM &.clientes")}));
    collections.Load(run, *s, options);
    EXPECT_EQ(collections.TableAt(2).loc, "Clientes");
    ASSERT_EQ(collections.ListUpper(), 2);
    EXPECT_EQ(collections.ListAt(1).sql, "");  // replaced, not merged
    EXPECT_EQ(collections.ListAt(2).sql, "SELECT c FROM Clientes");

    // A failed batch leaves both collections empty.
    options.tables = true;
    run.answers.push_back({});
    collections.Load(run, *s, options);
    EXPECT_EQ(collections.TableUpper() + collections.ListUpper(), 0);
}

TEST_F(Collections, BadRowsFailTheLoadKeepingTheEntriesReadBefore) {
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
