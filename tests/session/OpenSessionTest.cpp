// Opening the session: the reason of a refused open as the session kept it, the default
// database's driver asked of the driver manager, and the options reaching the session.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "Scripted.h"
#include "Session.h"

TEST(OpenSession, ARefusedOpenIsReportedWithTheDriversReasonAndLeavesNoHandle) {
    struct Case {
        std::vector<kvl::odbc::Diagnostic> records;
        std::string reason;
    };
    const Case cases[] = {
        {{{"28P01", 0, "FATAL:  password authentication failed for user \"eu\"\n"}},
         "28P01: FATAL:  password authentication failed for user \"eu\""},
        {{}, "the driver gave no reason"},
    };
    for (const Case& c : cases) {
        auto odbc = std::make_shared<kvltest::ScriptedOdbc>();
        odbc->Fail("DriverConnect", c.records);
        kvlsession::ConnectionOptions o;
        o.dsn = "kvl";
        o.stack = 3;
        std::ostringstream err;
        EXPECT_FALSE(kvlsession::OpenSession(o, "prog", err, odbc));
        EXPECT_EQ(err.str(), "prog: cannot open the session: " + c.reason + "\n");
        EXPECT_EQ(odbc->LiveHandles(), 0u);
        EXPECT_EQ(odbc->misuses, 0);
    }
}

TEST(OpenSession, TheDefaultDatabaseNeedsItsDriverRegistered) {
    auto odbc = std::make_shared<kvltest::ScriptedOdbc>();
    odbc->drivers = {"PostgreSQL Unicode"};
    std::ostringstream err;
    EXPECT_FALSE(kvlsession::OpenSession({}, "prog", err, odbc));
    EXPECT_NE(err.str().find("prog: the ODBC driver \"SQLite3\" is not registered"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(odbc->Count("DriverConnect"), 0u);
    EXPECT_EQ(odbc->LiveHandles(), 0u);
}

TEST(OpenSession, AConnectionTextIsUsedAsGivenBesideTheOtherOptions) {
    kvltest::SqliteFile file;
    kvlsession::ConnectionOptions o;
    o.connect = "Driver=SQLite3;Database=" + file.path();
    o.uid = "kept";
    o.stack = 3;
    std::ostringstream err;
    bool prepared = false;
    auto s = kvlsession::OpenSession(o, "prog", err, kvl::odbc::UnixOdbc(),
                                     [&](kvl::kvlSERV& opening) { prepared = !opening.Aberto; });
    ASSERT_TRUE(s) << err.str();
    EXPECT_TRUE(prepared);  // before the open
    EXPECT_EQ(s->Login, *o.connect);
    EXPECT_EQ(s->UID, "kept");
    EXPECT_EQ(s->Stack(), 3);
    EXPECT_EQ(s->StackBase(), 3);
}
