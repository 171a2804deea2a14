#include <gtest/gtest.h>

#include "kvl/TypeCodes.h"

using namespace kvl;

TEST(TypeCodes, MapsOdbcTypesAndClassifiesCodes) {
    // ODBC type and its code: varchar, an unlisted type, timestamp, double, float,
    // decimal, numeric.
    for (auto [odbcType, code] :
         {std::pair{12, 2}, {-4, 2}, {11, 80}, {8, 8}, {6, 8}, {3, 24}, {2, 10}})
        EXPECT_EQ(SqlTipoConverte(static_cast<int16_t>(odbcType)), code) << odbcType;
    EXPECT_FALSE(TipoSeData(80));
    EXPECT_TRUE(TipoSeData(22));
    EXPECT_TRUE(TipoSeNum(16));  // bit counts as numeric
    EXPECT_FALSE(TipoSeNum(2));
    EXPECT_FALSE(TipoSeDec(16));
    EXPECT_TRUE(TipoSeDec(23));
    EXPECT_TRUE(TipoSeDecimal(24));
    EXPECT_FALSE(TipoSeDecimal(10));
}
