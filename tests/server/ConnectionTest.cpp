// Opening and closing: the connection text, failed connects and what they leave behind.

#include <gtest/gtest.h>

#include "Databases.h"
#include "ScriptedOdbc.h"
#include "kvl/Error.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

namespace {

ScriptedOdbc::Answer Fails(const char* state, const char* message) {
    return {odbc::kError, odbc::Diagnostic{state, 0, message}};
}

std::string ConnectText(const ScriptedOdbc& odbc) {
    for (const auto& c : odbc.calls)
        if (c.rfind("DriverConnect(", 0) == 0)
            return c.substr(c.find(", ") + 2, c.size() - c.find(", ") - 3);
    return "";
}

}  // namespace

TEST(ConnectionText, DriverAndDataSourceFormsExactly) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre(std::string("dsn"), std::string("base"), std::string("eu"), std::string("pw"),
            std::string("SQL Server"), std::nullopt, std::nullopt, std::string("srv"));
    EXPECT_EQ(s->Login, "DRIVER=SQL Server;SERVER=srv;DATABASE=base;DBQ=base;UID=eu;PWD=pw");
    EXPECT_EQ(ConnectText(*odbc), s->Login);

    s->Driver = "";
    s->UID = s->PWD = "";
    s->Abre();
    EXPECT_EQ(s->Login, "DSN=dsn;DATABASE=base;DBQ=base;UID=;PWD=");
}

TEST(ConnectionText, ValuesThatWouldBeMisreadAreBraced) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->Abre(std::string("d"), std::string("a;b"), std::string(" x"), std::string("p}w=1"));
    EXPECT_EQ(s->Login, "DSN=d;DATABASE={a;b};DBQ={a;b};UID={ x};PWD={p}}w=1}");
}

TEST(ConnectionText, GivenTextIsUsedUnchangedWithoutBuildLogin) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
            std::string("DSN=x;Whatever=1"));
    EXPECT_EQ(s->Login, "DSN=x;Whatever=1");
    EXPECT_EQ(ConnectText(*odbc), "DSN=x;Whatever=1");
    // BuildLogin true replaces a given text.
    s->Abre(std::string("y"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, true,
            std::string("DSN=ignored"));
    EXPECT_EQ(s->Login, "DSN=y;DATABASE=;DBQ=;UID=;PWD=");
}

TEST(Open, AbreOnAnOpenSessionClosesItFirst) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->lStackBase = 2;
    s->Abre();
    ASSERT_EQ(s->Stack(), 2);
    s->Log = true;
    s->Prompt = 1;
    s->Abre();
    EXPECT_TRUE(s->Aberto);
    EXPECT_EQ(s->lStackBase, 1);
    EXPECT_FALSE(s->Log);
    EXPECT_EQ(s->Prompt, 0);
    EXPECT_EQ(s->Stack(), 1);
    EXPECT_EQ(odbc->Count("FreeEnv"), 1u);
    s->Fecha();
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Open, LogRecordsTheEnvironment) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->Log = true;
    s->Abre();
    EXPECT_EQ(s->Logs(1).ToString(), "Log\tTrue");
    EXPECT_EQ(s->Logs(2).ToString(), "Ponteiro de ambiente\t" + std::to_string(s->hEnv) + " rc 0");
    EXPECT_EQ(s->Logs(3).ToString(), "");
    EXPECT_EQ(s->Logs(-1).ToInt32(), 3);
}

TEST(Open, FailedEnvironmentAllocation) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    odbc->Script("AllocEnv", {{odbc::kError, {}}});
    auto s = kvlSERV::Create(odbc);
    s->Log = true;
    s->Abre();
    EXPECT_FALSE(s->Aberto);
    EXPECT_TRUE(s->erro);
    EXPECT_EQ(s->Logs(1).ToString(), "Log\tTrue");
    EXPECT_EQ(s->Logs(2).ToString(), "Ponteiro de ambiente\t0 rc -1");
    EXPECT_EQ(s->Logs(4).ToString(), "Ponteiro de ambiente não foi alocado.\t");
    EXPECT_EQ(s->Logs(-1).ToInt32(), 5);
    EXPECT_EQ(odbc->Count("AllocConnect"), 0u);
}

TEST(Open, OnlyTheFirstOfTwoBaseSlotsFailing) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    odbc->Script("DriverConnect", {Fails("28000", "login failed")});
    auto s = kvlSERV::Create(odbc);
    s->lStackBase = 2;
    s->Abre();
    EXPECT_FALSE(s->Aberto);
    EXPECT_FALSE(s->erro);  // the last slot connected cleared it
    EXPECT_EQ(s->Stack(), 0);

    // The half-open session is released in full by Fecha.
    EXPECT_GT(odbc->LiveHandles(), 0u);
    s->Fecha();
    EXPECT_EQ(s->hEnv, 0u);
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
    EXPECT_EQ(s->lStackBase, 2);  // a failed open was never opened: nothing is reset
}

TEST(Open, HalfOpenSessionIsReleasedByTheNextAbre) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    odbc->Script("DriverConnect", {Fails("28000", "login failed")});
    auto s = kvlSERV::Create(odbc);
    s->Abre();
    ASSERT_FALSE(s->Aberto);
    ASSERT_TRUE(s->erro);
    s->Abre();
    EXPECT_TRUE(s->Aberto);
    EXPECT_FALSE(s->erro);
    EXPECT_EQ(s->Stack(), 1);
    EXPECT_EQ(odbc->Count("FreeEnv"), 1u);
    s.reset();  // the last reference closes
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Open, PromptOutside16BitsIsAnOverflow) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Prompt = 70000;
    try {
        s->Abre();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kOverflow);
    }
    s->Fecha();
    EXPECT_EQ(odbc->LiveHandles(), 0u);
}

TEST(Close, FechaOnAClosedSessionDoesNothing) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Log = true;
    s->Fecha();
    EXPECT_TRUE(odbc->calls.empty());
    EXPECT_TRUE(s->Log);
}

TEST(Close, FreesEveryHandleOnce) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->lStackBase = 3;
    s->Abre();
    auto held = s->StackGetNovo();  // a result set still out at close
    s->Fecha();
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->Count("Disconnect"), 3u);
    EXPECT_EQ(odbc->Count("FreeConnect"), 3u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(PostgresConnection, WrongPasswordLeavesTheSessionClosed) {
    KVL_REQUIRE_POSTGRES();
    auto s = kvlSERV::Create();
    kvltest::Postgres::Configure(*s);
    s->PWD = "not-the-password";
    s->Abre();
    EXPECT_FALSE(s->Aberto);
    EXPECT_TRUE(s->erro);
    // The driver's reason stays readable on the failed connection.
    bool busy = false;
    Handle conn = 0, stmt = 0;
    s->StackItemGet(1, busy, &conn, &stmt);
    EXPECT_EQ(stmt, 0u);
    EXPECT_NE(s->ErroLe(conn, 0).find("password"), std::string::npos) << s->ErroLe(conn, 0);
    s->PWD = kvltest::Postgres::Password();
    s->Abre();
    EXPECT_TRUE(s->Aberto);
    EXPECT_FALSE(s->erro);
    s->Fecha();
}
