// The layouts of a result set, typed values as text, and the width of text on a terminal
// (which end_to_end sees line up, and where CSV is read back).

#include <gtest/gtest.h>

#include <sstream>

#include "TableFormat.h"
#include "TextWidth.h"
#include "ValueText.h"
#include "kvl/odbc/Api.h"

using kvlsql::Cell;
using kvlsql::Layout;
using kvlsql::OutputSettings;

TEST(DisplayWidth, WideCharactersTakeTwoColumnsAndCombiningMarksNone) {
    const std::pair<const char*, size_t> cases[] = {
        {"Sa\xCC\x81o", 3},               // a + combining acute accent
        {"\xE2\x82\xAC!", 2},             // euro sign, three bytes
        {"\xE4\xB8\xAD\xE6\x96\x87", 4},  // two CJK ideographs
        {"\xF0\x9F\x98\x80!", 3},         // an emoji, four bytes
        {"\xEA\xB0\x80", 2},              // a Hangul syllable
        {"a\xFF\xC3", 3},                 // bytes of no character: one each
    };
    for (const auto& [text, width] : cases) EXPECT_EQ(kvlsql::DisplayWidth(text), width) << text;
}

namespace {

// Two rows: NULL beside a number, and the empty text beside one with a quote, a comma
// and a line break.
const kvlsql::Table kTable = {{{"name", false}, {"n", true}},
                              {{Cell(), Cell("7")}, {Cell(""), Cell("a\"b,\nc")}}};

std::string Printed(const OutputSettings& settings) {
    std::ostringstream out;
    kvlsql::PrintTable(out, kTable, settings);
    return out.str();
}

OutputSettings Laid(Layout layout, bool expanded = false, bool tuplesOnly = false) {
    OutputSettings s;
    s.layout = layout;
    s.expanded = expanded;
    s.tuplesOnly = tuplesOnly;
    return s;
}

}  // namespace

TEST(PrintTable, AlignedTablesEscapeBreaksAndRightAlignNumbers) {
    EXPECT_EQ(Printed({}),
              " name |       n \n"  // numbers' names line up with them
              "------+---------\n"
              " NULL |       7 \n"
              "      | a\"b,\\nc \n");
    OutputSettings rowsOnly = Laid(Layout::kAligned, false, true);
    rowsOnly.nullText = "-";
    EXPECT_EQ(Printed(rowsOnly), " -    |       7 \n      | a\"b,\\nc \n");
}

TEST(PrintTable, ExpandedDisplayShowsAFieldALine) {
    EXPECT_EQ(Printed(Laid(Layout::kAligned, true)),
              "-[ RECORD 1 ]-\n"  // wider than the names: no "+"
              "name | NULL\n"
              "n    | 7\n"
              "-[ RECORD 2 ]-\n"
              "name |\n"
              "n    | a\"b,\\nc\n");
    EXPECT_EQ(Printed(Laid(Layout::kUnaligned, true, true)),
              "name|NULL\nn|7\n\nname|\nn|a\"b,\nc\n");
}

TEST(PrintTable, UnalignedFieldsStandAsTheyAre) {
    OutputSettings tabs = Laid(Layout::kUnaligned);
    tabs.fieldSeparator = "\t";
    EXPECT_EQ(Printed(tabs), "name\tn\nNULL\t7\n\ta\"b,\nc\n");
}

TEST(PrintTable, CsvQuotesANullTextThatNeedsIt) {
    OutputSettings csvRows = Laid(Layout::kCsv, false, true);
    csvRows.nullText = "N,A";
    EXPECT_EQ(Printed(csvRows), "\"N,A\",7\r\n\"\",\"a\"\"b,\nc\"\r\n");
}

TEST(ValueText, EachTypeShowsAsText) {
    using kvl::TypedValue;
    using kvlsql::ValueText;
    EXPECT_EQ(ValueText(TypedValue()), std::nullopt);  // NULL, unlike the empty text
    EXPECT_EQ(ValueText(TypedValue(std::string())), "");
    EXPECT_EQ(ValueText(TypedValue(true)), "true");
    EXPECT_EQ(ValueText(TypedValue(int64_t{-9007199254740993})), "-9007199254740993");
    EXPECT_EQ(ValueText(TypedValue(0.1)), "0.1");
    EXPECT_EQ(ValueText(TypedValue(1e20)), "1e+20");
    EXPECT_EQ(ValueText(TypedValue(kvl::Decimal{"-1234.50"})), "-1234.50");
    EXPECT_EQ(ValueText(TypedValue(kvl::Bytes{0x00, 0xAB})), "\\x00ab");
    EXPECT_EQ(ValueText(TypedValue(kvl::Date{33, 1, 9})), "0033-01-09");
    EXPECT_EQ(ValueText(TypedValue(kvl::Timestamp{{2024, 2, 29}, {7, 5, 3, 120000000}})),
              "2024-02-29 07:05:03.12");
    EXPECT_EQ(ValueText(TypedValue(kvl::Time{23, 59, 0, 0})), "23:59:00");
    EXPECT_TRUE(kvlsql::IsNumberType(kvl::odbc::kSqlBigInt));
    EXPECT_FALSE(kvlsql::IsNumberType(kvl::odbc::kSqlBit));
}
