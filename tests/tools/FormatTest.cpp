// What the end-to-end runs do not show: widths of combining accents and values holding
// line breaks.

#include <gtest/gtest.h>

#include <sstream>

#include "TableFormat.h"

using kvlsql::Cell;
using kvlsql::DisplayWidth;

TEST(DisplayWidth, CountsCharactersNotBytesAndSkipsCombiningAccents) {
    EXPECT_EQ(DisplayWidth("Sa\xCC\x81o"), 3u);  // a + combining acute accent
    EXPECT_EQ(DisplayWidth("x\xCD\xAFy"), 2u);   // last combining mark, U+036F
    EXPECT_EQ(DisplayWidth("x\xCD\xB0y"), 3u);   // U+0370 is a letter
    EXPECT_EQ(DisplayWidth("\xE2\x82\xAC"
                           "5"),
              2u);  // euro sign, three bytes
}

TEST(PrintTable, BreaksInValuesAreEscapedToKeepTheColumnsAligned) {
    std::ostringstream out;
    kvlsql::PrintTable(out, {{{"a", false}, {"b", false}}, {{Cell("um\ndois\tx\r"), Cell("")}}});
    EXPECT_EQ(out.str(),
              " a             | b\n"
              "---------------+---\n"
              " um\\ndois\\tx\\r | \n");
}
