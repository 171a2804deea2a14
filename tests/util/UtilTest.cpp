// The text functions, the platform's path test, and the variant's conversions.

#include <gtest/gtest.h>

#include <clocale>

#include "kvl/Error.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"
#include "kvl/Variant.h"

using namespace kvl;

namespace {
// The number of the kvl::Error that f throws; 0 when it throws none.
int32_t ErrorOf(auto&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

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

TEST(Variant, ConvertsTextAndNumbersRoundingHalvesToEvenOrReportsWhyNot) {
    EXPECT_EQ(Variant(" 7 ").ToInt32(), 7);
    EXPECT_EQ(Variant(2.5).ToInt16(), 2);
    EXPECT_EQ(Variant(3.5).ToInt16(), 4);
    EXPECT_EQ(Variant(-2.5).ToInt32(), -2);
    EXPECT_EQ(Variant(true).ToInt16(), -1);
    EXPECT_DOUBLE_EQ(Variant("1.25").ToDouble(), 1.25);
    EXPECT_TRUE(Variant("True").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_EQ(Variant(3.4e27).ToString(), "3.4E+27");
    EXPECT_EQ(Variant(0.5).ToString(), "0.5");
    // Overflow and type mismatch.
    EXPECT_EQ(ErrorOf([] { Variant(int32_t{40000}).ToInt16(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant(32767.5).ToInt16(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant(32767.4).ToInt16(); }), 0);
    EXPECT_EQ(ErrorOf([] { Variant("3000000000").ToInt32(); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { Variant("abc").ToInt16(); }), kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant("").ToDouble(); }), kTypeMismatch);
}

// Numbers in text use "." whatever locale the process has set (a Qt program sets the
// user's, where the separator may be ",").
TEST(Variant, NumbersInTextIgnoreTheProcessLocale) {
    ASSERT_TRUE(std::setlocale(LC_ALL, "pt_PT.UTF-8")) << "scripts/deps generates pt_PT.UTF-8";
    double read = Variant("+1.5").ToDouble();
    std::string written = Variant(1.5).ToString();
    int32_t comma = ErrorOf([] { Variant("1,5").ToDouble(); });
    std::setlocale(LC_ALL, "C");
    EXPECT_DOUBLE_EQ(read, 1.5);
    EXPECT_EQ(written, "1.5");
    EXPECT_EQ(comma, kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant("1e999").ToDouble(); }), kOverflow);
}
