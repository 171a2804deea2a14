// Opening the session the command line names: each option reaches its property.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "Session.h"
#include "kvl/kvlSERV.h"

using kvlsql::OpenSession;
using kvlsql::Options;

TEST(OpenSession, ConnectionOptionsBecomeTheSessionsProperties) {
    kvltest::SqliteFile file;
    Options o;
    o.driver = "SQLite3";
    o.db = file.path();
    o.dsn = "ignored-beside-a-driver";
    o.server = "srv";
    o.uid = "eu";
    o.pwd = "segredo";
    o.stack = 3;
    std::ostringstream err;
    auto s = OpenSession(o, err);
    ASSERT_TRUE(s) << err.str();
    EXPECT_EQ(s->Driver, "SQLite3");
    EXPECT_EQ(s->DB, file.path());
    EXPECT_EQ(s->DSN, "ignored-beside-a-driver");
    EXPECT_EQ(s->Server, "srv");
    EXPECT_EQ(s->UID, "eu");
    EXPECT_EQ(s->PWD, "segredo");
    EXPECT_EQ(s->Stack(), 3);
}

TEST(OpenSession, AConnectionTextIsUsedAsGiven) {
    kvltest::SqliteFile file;
    Options o;
    o.connect = "Driver=SQLite3;Database=" + file.path();
    o.uid = "kept";
    std::ostringstream err;
    auto s = OpenSession(o, err);
    ASSERT_TRUE(s) << err.str();
    EXPECT_EQ(s->Login, *o.connect);
    EXPECT_EQ(s->UID, "kept");
}

TEST(OpenSession, ARefusedConnectionGivesTheDriversReason) {
    kvltest::UsePrivateOdbcIni();
    Options o;
    o.driver = "NoSuchDriver";
    std::ostringstream err;
    EXPECT_FALSE(OpenSession(o, err));
    EXPECT_EQ(err.str().rfind("kvlsql: cannot open the session: ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("NoSuchDriver"), std::string::npos) << err.str();
}
