#include <gtest/gtest.h>

#include "kvl/TypeCodes.h"

using namespace kvl;

TEST(TypeCodes, MapsOdbcTypesAndClassifiesCodes) {
    EXPECT_EQ(SqlTipoConverte(12), 2);   // SQL_VARCHAR
    EXPECT_EQ(SqlTipoConverte(-4), 2);   // SQL_LONGVARBINARY is not listed
    EXPECT_EQ(SqlTipoConverte(11), 80);  // SQL_TIMESTAMP
    EXPECT_EQ(SqlTipoConverte(8), 8);
    EXPECT_EQ(SqlTipoConverte(6), 8);
    EXPECT_EQ(SqlTipoConverte(3), 24);
    EXPECT_EQ(SqlTipoConverte(2), 10);
    EXPECT_FALSE(TipoSeData(80));
    EXPECT_TRUE(TipoSeData(22));
    EXPECT_TRUE(TipoSeNum(16));  // bit counts as numeric
    EXPECT_FALSE(TipoSeDec(16));
    EXPECT_TRUE(TipoSeDec(23));
    EXPECT_TRUE(TipoSeDecimal(24));
    EXPECT_FALSE(TipoSeDecimal(10));
    EXPECT_FALSE(TipoSeNum(2));
}
