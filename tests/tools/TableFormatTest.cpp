// Table layout: widths in characters, NULL, numbers to the right, values that would
// break the lines.

#include <gtest/gtest.h>

#include <sstream>

#include "TableFormat.h"

using kvlsql::Cell;
using kvlsql::DisplayWidth;
using kvlsql::PrintTable;
using kvlsql::Table;

namespace {

std::string Printed(const Table& t) {
    std::ostringstream out;
    PrintTable(out, t);
    return out.str();
}

}  // namespace

TEST(DisplayWidth, CountsCharactersNotBytesAndSkipsCombiningAccents) {
    EXPECT_EQ(DisplayWidth("Rua"), 3u);
    EXPECT_EQ(DisplayWidth("Évora"), 5u);        // É is two bytes
    EXPECT_EQ(DisplayWidth("Sa\xCC\x81o"), 3u);  // a + combining acute accent
    EXPECT_EQ(DisplayWidth("x\xCD\xAFy"), 2u);   // last combining mark, U+036F
    EXPECT_EQ(DisplayWidth("x\xCD\xB0y"), 3u);   // U+0370 is a letter
    EXPECT_EQ(DisplayWidth("\xE2\x82\xAC"
                           "5"),
              2u);  // euro sign, three bytes
    EXPECT_EQ(DisplayWidth(""), 0u);
}

TEST(PrintTable, AlignsAccentedTextByCharacters) {
    Table t{{{"nome", false}, {"freguesia", false}},
            {{Cell("Praça do Comércio"), Cell("Santa Maria Maior")},
             {Cell("Rua Augusta"), Cell("Sé")},
             {Cell("Travessa da Água de Flor"), Cell("Misericórdia")}}};
    EXPECT_EQ(Printed(t),
              " nome                     | freguesia\n"
              "--------------------------+-------------------\n"
              " Praça do Comércio        | Santa Maria Maior\n"
              " Rua Augusta              | Sé\n"
              " Travessa da Água de Flor | Misericórdia\n");
}

TEST(PrintTable, NullsAndNumbersToTheRight) {
    Table t{{{"id", true}, {"comprimento", true}, {"codigo_postal", false}},
            {{Cell("7"), Cell("1500.0"), Cell()}, {Cell("13"), Cell(), Cell("3000-180")}}};
    EXPECT_EQ(Printed(t),
              " id | comprimento | codigo_postal\n"
              "----+-------------+---------------\n"
              "  7 |      1500.0 | NULL\n"
              " 13 |        NULL | 3000-180\n");
}

TEST(PrintTable, WithoutRowsPrintsTheHeaderAndBreaksInValuesAreEscaped) {
    EXPECT_EQ(Printed(Table{{{"ç", false}}, {}}), " ç\n---\n");
    Table t{{{"a", false}, {"b", false}}, {{Cell("um\ndois\tx\r"), Cell("")}}};
    EXPECT_EQ(Printed(t),
              " a             | b\n"
              "---------------+---\n"
              " um\\ndois\\tx\\r | \n");
}
