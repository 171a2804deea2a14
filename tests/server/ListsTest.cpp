// Filling a client's list control and variables from queries, on the real databases.

#include <gtest/gtest.h>

#include <stdexcept>

#include "Databases.h"
#include "FakeWindow.h"
#include "kvl/ClientObjects.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using namespace kvltest;

namespace {

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
};

}  // namespace

TEST_P(Lists, FillingAListFromOneOrTwoColumnsOrNoRows) {
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
}

TEST_P(Lists, AFailingListKeepsItsEntriesAndTheErrorReachesTheCaller) {
    auto cheia = std::make_shared<Lista>();
    cheia->failAt = 2;
    EXPECT_THROW(
        session->ListaEnche(AsVariant(cheia), "SELECT descricao FROM tipos ORDER BY ordem"),
        std::runtime_error);
    EXPECT_EQ(cheia->entries, std::vector<std::string>{"Rua"});
    EXPECT_FALSE(SlotBusy(*session, 1));  // the result set was given back

    // What is no list control fails before the command runs.
    const std::string insert = "INSERT INTO tipos VALUES ('X', 'X', 4)";
    EXPECT_EQ(ErrorOf([&] { session->ListaEnche(Variant("lista"), insert); }), kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { session->ListaEnche(AsVariant(std::make_shared<Object>()), insert); }),
              kNoSuchMember);
    auto count = session->Exec("SELECT count(*) FROM tipos");
    ASSERT_TRUE(count->TemLinhas());
    EXPECT_EQ(count->Col(1).ToInt32(), 3);
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

// Beyond what a 16-bit counter reaches: every row arrives.
TEST_P(Lists, AListOfAnyLength) {
    auto lista = std::make_shared<Lista>();
    Variant codes = session->ListaEnche(
        AsVariant(lista),
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 39999)"
        " SELECT i, 'n' || i FROM n ORDER BY i");
    ASSERT_EQ(lista->entries.size(), 40000u) << session->ErroD;
    EXPECT_EQ(lista->entries.back(), "n39999");
    EXPECT_EQ(codes.array().UBound(), 39999);
    EXPECT_EQ(codes.array().At({39999}).ToInt32(), 39999);
}

KVL_BACKENDS(Lists);
