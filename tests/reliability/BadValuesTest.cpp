// Bad input reaching the library: bytes that are not UTF-8 in stored values and in
// diagnostics, and a statement of ten megabytes. A correct result or a clear error.

#include <gtest/gtest.h>

#include <string>

#include "Databases.h"
#include "kvl/kvlRES.h"

namespace {

class BadValues : public kvltest::BackendTest {
  protected:
    // The first value of the first row of sql.
    std::string First(const std::string& sql, int32_t buffer = 0) {
        auto r = session->Exec(sql);
        EXPECT_FALSE(r->erro) << r->ErroD;
        if (buffer > 0) r->ColBuffer(1, kvl::Variant(buffer));
        return r->TemLinhas() ? r->Col(1).ToString() : "<no row>";
    }
};

// SQLite stores any bytes as text: they come back as they were, whole, also when the
// value is read on in pieces past a small buffer (pieces are cut by characters).
TEST_P(BadValues, BytesThatAreNotUtf8ComeBackAsStored) {
    if (IsPostgres()) GTEST_SKIP() << "PostgreSQL refuses text that is not UTF-8";
    const std::string bytes = "a\xFF\x80\xC3\xE2\x82";
    std::string repeated;
    for (int i = 0; i < 200; ++i) repeated += bytes;
    EXPECT_EQ(First("SELECT CAST(X'61FF80C3E282' AS TEXT)"), bytes);
    std::string hex;
    for (int i = 0; i < 200; ++i) hex += "61FF80C3E282";
    EXPECT_EQ(First("SELECT CAST(X'" + hex + "' AS TEXT)", 7), repeated);
}

// A diagnostic that quotes bytes that are not UTF-8, longer than the message buffer.
TEST_P(BadValues, ADiagnosticQuotingBadBytesIsAClearError) {
    auto r = session->Exec("SELECT * FROM \"" + std::string(3000, '\xFF') + "\"");
    EXPECT_TRUE(r->erro);
    EXPECT_FALSE(r->ErroD.empty());
    EXPECT_LE(r->ErroD.size(), 4096u);
}

TEST_P(BadValues, AStatementOfTenMegabytesRunsWhole) {
    const std::string value(10 << 20, 'x');
    EXPECT_EQ(First("SELECT '" + value + "'"), value);
}

KVL_BACKENDS(BadValues);

}  // namespace
