// What the end-to-end runs do not show: widths of combining accents, values holding
// line breaks, and a connection text beside the other connection options.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "Session.h"
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

TEST(OpenSession, AConnectionTextIsUsedAsGivenBesideTheOtherOptions) {
    kvltest::SqliteFile file;
    kvlsql::Options o;
    o.connect = "Driver=SQLite3;Database=" + file.path();
    o.uid = "kept";
    o.stack = 3;
    std::ostringstream err;
    auto s = kvlsql::OpenSession(o, err);
    ASSERT_TRUE(s) << err.str();
    EXPECT_EQ(s->Login, *o.connect);
    EXPECT_EQ(s->UID, "kept");
    EXPECT_EQ(s->Stack(), 3);
}
