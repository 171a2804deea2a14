// Filling a client's list control and variables from queries, on the real databases.

#include <gtest/gtest.h>

#include <stdexcept>

#include "Databases.h"
#include "kvl/ClientObjects.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ErrorOf;

namespace {

// A list control that keeps its entries; it can be made to fail at a given entry.
class Lista : public ListControl {
  public:
    std::vector<std::string> entries;
    int clears = 0;
    size_t failAt = 0;  // the entry (from 1) whose AddItem throws; 0: none

    void Clear() override {
        ++clears;
        entries.clear();
    }
    void AddItem(const std::string& Item) override {
        if (entries.size() + 1 == failAt) throw std::runtime_error("lista cheia");
        entries.push_back(Item);
    }
};

// A list control that can only be cleared.
class SoLimpa : public ListControl {
  public:
    int clears = 0;
    void Clear() override { ++clears; }
};

// The entries of a codes array from index -1.
std::vector<Variant> Codes(const Variant& v) {
    const VariantArray& a = v.array();
    EXPECT_EQ(a.LBound(), -1);
    return a.items;
}

class Lists : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE tipos (codigo varchar(4), descricao varchar(20), ordem int)");
        Run("INSERT INTO tipos VALUES ('R', 'Rua', 1)");
        Run("INSERT INTO tipos VALUES ('Av', 'Avenida', 2)");
        Run("INSERT INTO tipos VALUES (NULL, NULL, 3)");
    }
    Variant AsObject(std::shared_ptr<ListControl> l) {
        return Variant(std::shared_ptr<Object>(std::move(l)));
    }
};

}  // namespace

TEST_P(Lists, FillingAListFromOneOrTwoColumnsOrNoRows) {
    struct Case {
        const char* sql;
        std::vector<std::string> entries;
        std::vector<Variant> codes;
    };
    const Case cases[] = {
        {"SELECT descricao FROM tipos ORDER BY ordem", {"Rua", "Avenida", ""}, {""}},
        {"SELECT codigo, descricao, ordem FROM tipos ORDER BY ordem",
         {"Rua", "Avenida", ""},
         {"", "R", "Av", ""}},
        {"SELECT codigo, descricao FROM tipos WHERE ordem > 9", {}, {""}},
        {"SELECT nada FROM nenhuma", {}, {""}},  // a failed query leaves the list empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        auto lista = std::make_shared<Lista>();
        lista->entries = {"left from before"};
        Variant codes = session->ListaEnche(AsObject(lista), c.sql);
        EXPECT_EQ(lista->clears, 1);
        EXPECT_EQ(lista->entries, c.entries);
        EXPECT_EQ(Codes(codes), c.codes);
        EXPECT_FALSE(kvltest::SlotBusy(*session, 1));
    }
}

TEST_P(Lists, AFailingListKeepsItsEntriesAndTheErrorReachesTheCaller) {
    auto cheia = std::make_shared<Lista>();
    cheia->failAt = 2;
    EXPECT_THROW(session->ListaEnche(AsObject(cheia), "SELECT descricao FROM tipos ORDER BY ordem"),
                 std::runtime_error);
    EXPECT_EQ(cheia->entries, std::vector<std::string>{"Rua"});

    auto soLimpa = std::make_shared<SoLimpa>();
    EXPECT_EQ(ErrorOf([&] { session->ListaEnche(AsObject(soLimpa), "SELECT codigo FROM tipos"); }),
              kNoSuchMember);
    EXPECT_EQ(soLimpa->clears, 1);
    EXPECT_FALSE(kvltest::SlotBusy(*session, 1));  // the result set was given back
}

TEST_P(Lists, LoadingVariablesFromTheFirstRow) {
    auto array = [](int32_t lower, int32_t count) {
        VariantArray a;
        a.bounds = {{lower, count}};
        a.items.assign(size_t(count), Variant("x"));
        return a;
    };
    VariantArray v = array(0, 4);
    EXPECT_TRUE(
        session->VarCarrega("SELECT codigo, descricao, ordem FROM tipos WHERE ordem = 3", v));
    EXPECT_EQ(v.items, (std::vector<Variant>{"", "", "3", "x"}));

    VariantArray untouched = array(0, 3);
    EXPECT_FALSE(session->VarCarrega("SELECT codigo FROM tipos WHERE ordem > 9", untouched));
    EXPECT_EQ(untouched.items, array(0, 3).items);

    // An array that does not cover every column: error 9, nothing copied.
    for (VariantArray shortOne : {array(0, 2), array(1, 3), VariantArray{{{0, 3}, {0, 1}}, {}}}) {
        std::vector<Variant> before = shortOne.items;
        EXPECT_EQ(ErrorOf([&] {
                      session->VarCarrega("SELECT codigo, descricao, ordem FROM tipos", shortOne);
                  }),
                  kSubscriptOutOfRange);
        EXPECT_EQ(shortOne.items, before);
        EXPECT_FALSE(kvltest::SlotBusy(*session, 1));
    }
}

KVL_BACKENDS(Lists);

// Beyond what 16-bit and 8-bit counters reach: every row and every column arrives.
TEST(ListsBeyondSmallCounters, AListOfAnyLengthAndARowOfAnyWidth) {
    kvltest::ScriptedSession s;
    kvltest::ScriptedOdbc::Result rows;
    rows.columns = {{"codigo", 12, 10, 0, 1}, {"nome", 12, 10, 0, 1}};
    for (int i = 0; i < 40000; ++i)
        rows.rows.push_back({std::to_string(i), "n" + std::to_string(i)});
    s.odbc->ScriptExecution({rows});
    auto lista = std::make_shared<Lista>();
    Variant codes =
        s.server->ListaEnche(Variant(std::shared_ptr<Object>(lista)), "SELECT a, b FROM t");
    ASSERT_EQ(lista->entries.size(), 40000u);
    EXPECT_EQ(lista->entries.back(), "n39999");
    EXPECT_EQ(codes.array().UBound(), 39999);
    EXPECT_EQ(codes.array().At({39999}), Variant("39999"));

    kvltest::ScriptedOdbc::Result wide;
    wide.rows.emplace_back();
    for (int i = 1; i <= 300; ++i) {
        wide.columns.push_back({"c" + std::to_string(i), 12, 10, 0, 1});
        wide.rows[0].push_back(std::to_string(i));
    }
    for (int width : {255, 300}) {
        SCOPED_TRACE(width);
        kvltest::ScriptedOdbc::Result r = wide;
        r.columns.resize(size_t(width));
        r.rows[0].resize(size_t(width));
        s.odbc->ScriptExecution({r});
        VariantArray v;
        v.bounds = {{0, width}};
        v.items.resize(size_t(width));
        EXPECT_TRUE(s.server->VarCarrega("SELECT * FROM t", v));
        EXPECT_EQ(v.items.back(), Variant(std::to_string(width)));
    }
}
