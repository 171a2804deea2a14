// The ranked search command in what the test databases cannot run or show: the user's text
// normalised, TOP, an anchored wildcard, a text without words and exact large weights. The
// command itself runs on the real databases in SearchDatabaseTest.

#include <gtest/gtest.h>

#include "kvl/kvlSERV.h"

using namespace kvl;

namespace {

struct Search {
    std::shared_ptr<kvlSERV> s = kvlSERV::Create();
    std::string text;
    // The command for text on table T, column C, returning ID.
    std::string For(std::string typed, std::optional<Variant> accents = false,
                    std::optional<Variant> rows = std::nullopt) {
        text = std::move(typed);
        return s->Pesquisa("T", "C", "ID", text, accents, rows).ToString();
    }
};

}  // namespace

TEST(Pesquisa, TheTextIsNormalisedWrittenBackAndSearched) {
    struct Case {
        const char* typed;
        std::optional<Variant> accents;  // omitted: ignored
        const char* searched;
    };
    const Case cases[] = {
        {"São", true, "s[a,á,à,ã,â,ä][o,ó,ò,ô,õ]"},
        {"ÉÇÜ", std::nullopt, "[e,é,è,ê][c,ç]ü"},
        {"AÇÃO", false, "ação"},
        {"[O'Ne\x02il]", false, "oneil"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Search q;
        std::string command = q.For(c.typed, c.accents);
        EXPECT_EQ(q.text, c.searched);
        EXPECT_NE(command.find(std::string(" where  C like '%") + c.searched + "%'  order"),
                  std::string::npos)
            << command;
    }
}

TEST(Pesquisa, AnAnchoredWildcardTheRowLimitAndATextWithoutWords) {
    Search q;
    // A "%" typed at an end anchors only the filter.
    std::string command = q.For("%ria");
    EXPECT_NE(command.find("Importancia= (Case When C like '%%ria%' then 1"), std::string::npos);
    EXPECT_NE(command.find(" where  C like '%ria'  order"), std::string::npos) << command;
    EXPECT_EQ(q.For("   "), " SELECT ID FROM T where  order by Importancia DESC, Palavras DESC");
    EXPECT_EQ(q.text, "   ");
    for (Variant none : {Variant(int16_t{0}), Variant(int16_t{-3})})
        EXPECT_EQ(q.For("a", false, none).find("TOP"), std::string::npos);
    EXPECT_TRUE(q.For("a", false, Variant("25")).starts_with(" SELECT TOP 25 ID,"));
}

TEST(Pesquisa, WeightsStayExactIntegersForSeventyWords) {
    std::string typed;
    for (int n = 69; n >= 0; --n) typed += "p" + std::to_string(n) + "  ";  // p69 first
    std::string command = Search().For(typed);
    const std::pair<int, const char*> weights[] = {
        {0, "1"},
        {64, "18446744073709551616"},
        {69, "590295810358705651712"},
    };
    for (const auto& [k, digits] : weights) {
        std::string term = "like '%p" + std::to_string(k) + "%' then " + digits + " else";
        EXPECT_NE(command.find(term), std::string::npos) << term;
    }
    EXPECT_EQ(command.find("e+"), std::string::npos);  // no number in exponent form
}
