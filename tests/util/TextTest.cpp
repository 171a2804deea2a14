#include <gtest/gtest.h>

#include "kvl/Platform.h"
#include "kvl/Text.h"

using namespace kvl;

// Positions are counted in characters; ignoring case keeps the input's letters.
TEST(StrPar, CutsFieldsAtTheSeparator) {
    int32_t start = 0, length = 0;
    EXPECT_EQ(StrPar(2, "a;b;c", ";", &start, &length), "b");
    EXPECT_EQ(std::pair(start, length), std::pair(3, 1));
    EXPECT_EQ(StrPar(3, "a;b;c", ";"), "c");
    EXPECT_EQ(StrPar(4, "a;b;c", ";"), "");
    EXPECT_EQ(StrPar(0, "a;b", ";"), "");
    EXPECT_EQ(StrPar(2, "a;;c", ";"), "");
    EXPECT_EQ(StrPar(2, "um dois"), "dois");  // default separator is a blank
    EXPECT_EQ(StrPar(2, "ção;ã", ";", &start, &length), "ã");
    EXPECT_EQ(std::pair(start, length), std::pair(5, 1));
    EXPECT_EQ(StrPar(2, "x SELECT y", "select", nullptr, nullptr, true), " y");
    EXPECT_EQ(StrPar(1, "Nome FROM t", "from", nullptr, nullptr, true), "Nome ");
    // Accented capitals are lowered without shifting the positions.
    EXPECT_EQ(StrPar(2, "ÁÉ SELECT Ção", "select", nullptr, nullptr, true), " Ção");
    EXPECT_EQ(StrPar(2, "x SELECT y", "select"), "");  // exact comparison otherwise
}

TEST(StrConta, CountsOverlappingOccurrences) {
    EXPECT_EQ(StrConta("aaa", "aa"), 2);
    EXPECT_EQ(StrConta("select a from (select b from t)", "select"), 2);
    EXPECT_EQ(StrConta("abc", ""), 0);
}

TEST(ComandoColuna, TakesSelectListItems) {
    const char* cmd = "SELECT t.nome, idade FROM t";
    EXPECT_EQ(ComandoColuna(cmd, 1, true), "nome");
    EXPECT_EQ(ComandoColuna(cmd, 1, false), "t.nome");
    EXPECT_EQ(ComandoColuna(cmd, 2, true), "idade");
    EXPECT_EQ(ComandoColuna(cmd, 3, true), "");
    EXPECT_EQ(ComandoColuna("select a.b.c from x", 1, true), "b.c");  // after the first dot
    EXPECT_EQ(ComandoColuna("FROM t SELECT a", 1, true), "");         // from before select
    EXPECT_EQ(ComandoColuna("UPDATE t SET a=1", 1, true), "");
}

TEST(StrSubstitui, ReplacesAllAndHonoursTheSkipFlag) {
    EXPECT_EQ(StrSubstitui("a-b-c", "-", "+", false), "a+b+c");
    EXPECT_EQ(StrSubstitui("abc", "", "x", false), "abc");
    // With skip, the inserted text is not scanned again.
    EXPECT_EQ(StrSubstitui("a'b", "'", "''", true), "a''b");
    // A replacement that holds the sought text must not loop forever without skip.
    EXPECT_EQ(StrSubstitui("a'b", "'", "''", false), "a''b");
    // Without skip, a match that spans the replacement and the text after it is found.
    EXPECT_EQ(StrSubstitui("aabb", "ab", "a", false), "aa");
    EXPECT_EQ(StrSubstitui("aabb", "ab", "a", true), "aab");
}

TEST(Utf8, CutsNeverSplitACharacter) {
    EXPECT_EQ(CorteUtf8("aç", 2), "a");
    EXPECT_EQ(CorteUtf8("aç", 3), "aç");
    EXPECT_EQ(CorteUtf8(std::string_view("a\xC3", 2), 2), "a");  // already cut short
    EXPECT_EQ(CorteUtf8("a€b", 3), "a");
    EXPECT_EQ(CorteUtf8("a€b", 4), "a€");
}

TEST(PathOK, FindsFilesFoldersAndHiddenEntriesAndTakesBracketsLiterally) {
    EXPECT_TRUE(PathOK("/tmp"));
    EXPECT_FALSE(PathOK(""));
    EXPECT_FALSE(PathOK("/no/such/path/here"));
    std::string dir = testing::TempDir() + "pathok/a[1]";
    ASSERT_EQ(system(("mkdir -p '" + dir + "' && touch '" + dir + "/.hidden'").c_str()), 0);
    EXPECT_TRUE(PathOK(dir));
    EXPECT_TRUE(PathOK(dir + "/.hidden"));
    EXPECT_TRUE(PathOK(dir + "/*"));  // the only entry is hidden
    EXPECT_FALSE(PathOK(dir + "/*.txt"));
    EXPECT_FALSE(PathOK(testing::TempDir() + "pathok/a1"));
}
