// The ranked search command: composed exactly, with the user's text normalised.

#include <gtest/gtest.h>

#include "kvl/kvlSERV.h"

using namespace kvl;

namespace {

struct Search {
    std::shared_ptr<kvlSERV> s = kvlSERV::Create();
    std::string text;
    // The command for text on table T, column C, returning ID.
    std::string For(std::string typed, std::optional<Variant> accents = false,
                    std::optional<Variant> rows = std::nullopt,
                    std::optional<Variant> byWords = std::nullopt) {
        text = std::move(typed);
        return s->Pesquisa("T", "C", "ID", text, accents, rows, byWords).ToString();
    }
};

}  // namespace

TEST(Pesquisa, TheWorkedExampleExactly) {
    auto s = kvlSERV::Create();
    std::string oQue = "Rua Nova";
    Variant command = s->Pesquisa("T", "C", "ID, NOME", oQue, false, int16_t{10}, false);
    EXPECT_EQ(command.ToString(),
              " SELECT TOP 10 ID, NOME, Importancia= (Case When C like '%nova%' then 1 else 0 end)"
              " + (Case When C like '%rua%' then 2 else 0 end) , Palavras= (Case When C like"
              " '%nova%' then 1 else 0 end) + (Case When C like '%rua%' then 1 else 0 end)  FROM"
              " T where  C like '%nova%' or C like '%rua%'  order by Importancia DESC, Palavras"
              " DESC");
    EXPECT_EQ(oQue, "rua nova");
}

TEST(Pesquisa, TheTextIsNormalisedAndWrittenBack) {
    struct Case {
        const char* typed;
        bool accents;
        const char* searched;
    };
    const Case cases[] = {
        {"São", true, "s[a,á,à,ã,â,ä][o,ó,ò,ô,õ]"},
        {"ÉÇÜ", true, "[e,é,è,ê][c,ç]ü"},
        {"AÇÃO", false, "ação"},
        {"O'Neil", false, "oneil"},
        {"[x]", false, "x"},
        {"a\x02z", false, "az"},
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
    // Omitted, accents are ignored.
    Search q;
    q.For("é", std::nullopt);
    EXPECT_EQ(q.text, "[e,é,è,ê]");
}

TEST(Pesquisa, AWildcardAtAnEndAnchorsOnlyTheFilter) {
    Search q;
    std::string command = q.For("%ria");
    EXPECT_NE(command.find("Importancia= (Case When C like '%%ria%' then 1 else 0 end)"),
              std::string::npos);
    EXPECT_NE(command.find(" where  C like '%ria'  order"), std::string::npos) << command;
}

TEST(Pesquisa, RowLimitOrderAndATextWithoutWords) {
    Search q;
    EXPECT_EQ(q.For("   "), " SELECT ID FROM T where  order by Importancia DESC, Palavras DESC");
    EXPECT_EQ(q.text, "   ");
    for (Variant none : {Variant(int16_t{0}), Variant(int16_t{-3})})
        EXPECT_EQ(q.For("a", false, none).find("TOP"), std::string::npos);
    EXPECT_TRUE(q.For("a", false, Variant("25")).starts_with(" SELECT TOP 25 ID,"));
    EXPECT_TRUE(q.For("a", false, std::nullopt, true)
                    .ends_with(" order by Palavras DESC, Importancia DESC"));
}

TEST(Pesquisa, WeightsStayExactIntegersForSeventyWords) {
    std::string typed;
    for (int n = 69; n >= 0; --n) typed += "p" + std::to_string(n) + "  ";  // p69 first
    Search q;
    std::string command = q.For(typed);
    struct Weight {
        int k;
        const char* digits;
    };
    const Weight weights[] = {
        {0, "1"},
        {53, "9007199254740992"},
        {54, "18014398509481984"},
        {63, "9223372036854775808"},
        {64, "18446744073709551616"},
        {69, "590295810358705651712"},
    };
    for (const Weight& w : weights) {
        std::string term =
            "like '%p" + std::to_string(w.k) + "%' then " + std::string(w.digits) + " else";
        EXPECT_NE(command.find(term), std::string::npos) << term;
    }
    EXPECT_EQ(command.find("e+"), std::string::npos);  // no number in exponent form
}
