// The cursor's reading of bytes on the real drivers, which nothing in the library reads as
// text would show: no piece of bytes ends in a NUL of the driver's.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/odbc/Cursor.h"
#include "kvl/odbc/Handles.h"

using namespace kvl::odbc;

namespace {

class Bytes : public kvltest::BackendTest {};

}  // namespace

TEST_P(Bytes, AValueLongerThanTheAreaArrivesWholeNulsIncluded) {
    std::string bytes, hex;
    for (int i = 0; i < 3000; ++i) {
        bytes += static_cast<char>(i % 256);
        hex += "0123456789abcdef"[i % 256 / 16];
        hex += "0123456789abcdef"[i % 16];
    }
    Run(IsPostgres() ? "CREATE TABLE b (v bytea)" : "CREATE TABLE b (v BLOB)");
    Run(IsPostgres() ? "INSERT INTO b VALUES (decode('" + hex + "', 'hex'))"
                     : "INSERT INTO b VALUES (x'" + hex + "')");
    auto api = UnixOdbc();
    Environment env(api);
    Connection conn(*api, env.get());
    ASSERT_TRUE(Succeeded(conn.Connect(session->Login)));
    Statement stmt(*api, conn.get());
    ASSERT_TRUE(Succeeded(api->ExecDirect(stmt.get(), "SELECT v FROM b")));
    const Cursor cursor(*api, stmt.get());
    Return rc = 0;
    ASSERT_EQ(cursor.Fetch(rc), Fetched::kRow);
    char area[100];
    std::string value;
    ValueRead read = cursor.ReadWhole(1, kBinaryData, area, sizeof area, value);
    EXPECT_TRUE(Succeeded(read.rc) && !read.isNull);
    EXPECT_EQ(value, bytes);
}

KVL_BACKENDS(Bytes);
