// The compact store of rows: records that outgrow their block move whole to the next,
// a value larger than any block included, and rows stored out of order or replaced.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RowStore.h"
#include "kvl/Error.h"

using namespace kvl;

namespace {

// Columns 1.. holding the values; a value "-" is NULL.
std::vector<Coluna> Row(const std::vector<std::string>& values) {
    std::vector<Coluna> columns(values.size() + 1);
    for (size_t n = 0; n < values.size(); ++n) {
        columns[n + 1].SeNull = values[n] == "-";
        columns[n + 1].Valor = Variant(columns[n + 1].SeNull ? std::string() : values[n]);
    }
    return columns;
}

std::vector<std::string> Read(const RowStore& store, int32_t row, int16_t columns) {
    RowStore::Reader r = store.Row(row);
    std::vector<std::string> values;
    for (int16_t n = 0; n < columns; ++n) {
        bool isNull = false;
        std::string value(r.Next(isNull));
        values.push_back(isNull ? "-" : value);
    }
    return values;
}

}  // namespace

// Enough rows to fill several blocks, values of one byte to past the largest block, and
// values whose length takes more than one byte to write; each comes back whole, walked or
// asked for by number.
TEST(RowStore, EveryValueComesBackWholeAcrossBlocks) {
    const std::string huge(5 << 20, 'x');
    RowStore store;
    std::vector<std::vector<std::string>> rows;
    for (int32_t i = 1; i <= 40000; ++i) {
        std::string text(static_cast<size_t>(i % 300), static_cast<char>('a' + i % 26));
        rows.push_back({std::to_string(i), i % 7 ? text : "-", i == 20000 ? huge : "ç"});
        store.Store(i, Row(rows.back()));
    }
    ASSERT_EQ(store.Rows(), 40000);
    for (int32_t i = 1; i <= 40000; ++i) ASSERT_EQ(Read(store, i, 3), rows[i - 1]) << i;
    bool isNull = false;
    EXPECT_EQ(store.Value(20000, 3, isNull).size(), huge.size());
    EXPECT_EQ(store.Value(7, 2, isNull), "");
    EXPECT_TRUE(isNull);
}

// A row stored ahead leaves the rows before it empty; a row stored again replaces the
// first; nothing is read beyond the stored rows or a row's columns.
TEST(RowStore, RowsStoredOutOfOrderOrAgain) {
    RowStore store;
    store.Store(5000, Row({"cinco mil", "-"}));
    store.Store(2, Row({"dois"}));
    store.Store(2, Row({"dois outra vez", "b"}));
    EXPECT_EQ(store.Rows(), 5000);
    EXPECT_EQ(Read(store, 5000, 2), (std::vector<std::string>{"cinco mil", "-"}));
    EXPECT_EQ(Read(store, 2, 3), (std::vector<std::string>{"dois outra vez", "b", ""}));
    EXPECT_EQ(Read(store, 4096, 1), (std::vector<std::string>{""}));
    bool isNull = true;
    EXPECT_EQ(store.Value(1, 9, isNull), "");
    EXPECT_FALSE(isNull);
    EXPECT_THROW(store.Value(2, 3, isNull), Error);
    EXPECT_THROW(store.Value(2, 0, isNull), Error);
    EXPECT_THROW(store.Row(5001), Error);
    EXPECT_THROW(store.Row(0), Error);
}
