// Opening the session: a refused login is tried once and its reason read from that
// attempt, every diagnostic record of it; the drivers list; the options reach the session.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "LaterFailure.h"
#include "Session.h"

namespace {

using kvl::odbc::Diagnostic;

const Diagnostic kManagerWarning{"01000", 0, "[unixODBC]Driver's SQLSetConnectAttr failed"};
const Diagnostic kRefused{"28P01", 0, "FATAL:  password authentication failed for user \"eu\"\n"};

}  // namespace

TEST(OpenSession, ARefusedLoginIsTriedOnceAndEveryRecordOfItIsPrinted) {
    struct Case {
        int16_t stack;
        size_t failingConnect;  // which DriverConnect fails
        std::vector<Diagnostic> records;
        size_t connects;  // DriverConnect calls expected
        std::string reason;
    };
    const std::string both =
        "01000: [unixODBC]Driver's SQLSetConnectAttr failed\n"
        "  28P01: FATAL:  password authentication failed for user \"eu\"";
    const Case cases[] = {
        {1, 1, {kManagerWarning, kRefused}, 1, both},
        // The open stops at the first refusal: no slot after it is tried.
        {3, 1, {kManagerWarning, kRefused}, 1, both},
        {3, 2, {kRefused}, 2, "28P01: FATAL:  password authentication failed for user \"eu\""},
        {1, 1, {}, 1, "the driver gave no reason"},
    };
    for (const Case& c : cases) {
        auto odbc = std::make_shared<kvltest::LaterFailure>();
        odbc->FailCall("DriverConnect", c.failingConnect, c.records);
        kvlsql::Options o;
        o.dsn = "kvl";
        o.uid = "eu";
        o.stack = c.stack;
        std::ostringstream err;
        EXPECT_FALSE(kvlsql::OpenSession(o, err, odbc));
        EXPECT_EQ(err.str(), "kvlsql: cannot open the session: " + c.reason + "\n");
        EXPECT_EQ(odbc->Count("DriverConnect"), c.connects) << c.stack << " " << c.failingConnect;
        EXPECT_EQ(odbc->LiveHandles(), 0u);
        EXPECT_EQ(odbc->misuses, 0);
    }
}

TEST(OpenSession, TheDefaultDatabaseNeedsItsDriverRegistered) {
    auto odbc = std::make_shared<kvltest::ScriptedOdbc>();
    odbc->drivers = {"PostgreSQL Unicode"};
    std::ostringstream err;
    EXPECT_FALSE(kvlsql::OpenSession({}, err, odbc));
    EXPECT_NE(err.str().find("\"SQLite3\" is not registered"), std::string::npos) << err.str();
    EXPECT_EQ(odbc->Count("DriverConnect"), 0u);
    EXPECT_EQ(odbc->LiveHandles(), 0u);
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
    EXPECT_EQ(s->StackBase(), 3);
}
