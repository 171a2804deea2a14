// Opening and closing: the connection text, failed connects and what they leave behind,
// and the reset at close.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedSession;

namespace {

// Whether the driver manager was given exactly this connection text.
bool Connected(const kvltest::ScriptedOdbc& odbc, const std::string& text) {
    return std::ranges::any_of(odbc.calls, [&](const std::string& c) {
        return c.starts_with("DriverConnect(") && c.ends_with(", " + text + ")");
    });
}

}  // namespace

TEST(ConnectionText, BothFormsExactlyWithEmptyAndBracedValues) {
    ScriptedSession s(false);
    auto& server = s.server;
    server->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                 std::string("DSN=x;Whatever=1"));
    EXPECT_EQ(server->Login, "DSN=x;Whatever=1");  // used unchanged without BuildLogin
    EXPECT_TRUE(Connected(*s.odbc, "DSN=x;Whatever=1"));
    server->Abre(std::string("y"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, true,
                 std::string("DSN=ignored"));
    EXPECT_EQ(server->Login, "DSN=y;DATABASE=;DBQ=;UID=;PWD=");

    server->Abre(std::string("dsn"), std::string("base"), std::string("eu"), std::string("pw"),
                 std::string("SQL Server"), std::nullopt, std::nullopt, std::string("srv"));
    EXPECT_EQ(server->Login, "DRIVER=SQL Server;SERVER=srv;DATABASE=base;DBQ=base;UID=eu;PWD=pw");
    EXPECT_TRUE(Connected(*s.odbc, server->Login));
    server->Driver = server->UID = server->PWD = "";
    server->Abre();
    EXPECT_EQ(server->Login, "DSN=dsn;DATABASE=base;DBQ=base;UID=;PWD=");

    // Values a driver would misread are braced, closing braces doubled.
    server->Abre(std::string("d"), std::string("a;b"), std::string(" x"), std::string("p}w=1"));
    EXPECT_EQ(server->Login, "DSN=d;DATABASE={a;b};DBQ={a;b};UID={ x};PWD={p}}w=1}");
}

TEST(Open, AbreOnAnOpenSessionClosesItFirstFreeingEveryHandleOnce) {
    ScriptedSession s(false);
    s.server->lStackBase = 3;
    s.server->Abre();
    ASSERT_EQ(s.server->Stack(), 3);
    auto held = s.server->StackGetNovo();  // a result set still out at close
    s.server->Abre();
    EXPECT_TRUE(s.server->Aberto);
    EXPECT_EQ(s.server->Stack(), 1);  // the close reset the base
    s.server->Fecha();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Open, HalfOpenSessionsAreReleasedByFechaAndByTheNextAbre) {
    ScriptedSession s(false);
    s.odbc->Fail("DriverConnect", {"28000", 0, "login failed"});
    s.server->lStackBase = 3;
    s.server->Abre();
    EXPECT_FALSE(s.server->Aberto);
    // A refused login is tried once, not once per slot, and the failure stays reported.
    EXPECT_TRUE(s.server->erro);
    EXPECT_EQ(s.odbc->Count("DriverConnect"), 1u);
    EXPECT_EQ(s.server->Stack(), 0);
    s.server->Fecha();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.server->lStackBase, 3);  // never opened: nothing is reset

    s.odbc->Fail("DriverConnect", {"28000", 0, "login failed"});
    s.server->Abre();
    ASSERT_FALSE(s.server->Aberto);
    s.server->Abre();
    EXPECT_TRUE(s.server->Aberto);
    s.server.reset();  // the last reference closes
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Close, ResetsExactlyTheListedPropertiesOfAnOpenSession) {
    ScriptedSession s(false);
    auto& server = s.server;
    server->Log = true;
    server->Fecha();  // closed: nothing to do
    EXPECT_TRUE(s.odbc->calls.empty());
    EXPECT_TRUE(server->Log);

    server->DB = "base";
    server->IgDupKey = server->SqlMix = true;
    server->Aplicação = "app";
    server->connectionType = tq_dbconnectionORACLE8;
    server->Abre();
    std::string login = server->Login;
    server->Log = true;
    server->lStackBase = 3;
    server->Prompt = 2;
    server->ComMsg = server->ComMsgLog = server->SqlAnalisaColunas = false;
    server->syscolumns = server->sysobjects = "x";
    server->erro = true;
    server->ErroD = "last error";
    server->HistoriaAdd("x", "y");
    int16_t samples = server->NRegistos;

    server->Fecha();
    EXPECT_FALSE(server->Aberto);
    EXPECT_EQ(server->hEnv, 0u);
    EXPECT_EQ(server->Stack(), 0);
    EXPECT_FALSE(server->Log);
    EXPECT_EQ(server->lStackBase, 1);
    EXPECT_EQ(server->Prompt, 0);
    EXPECT_TRUE(server->ComMsg && server->ComMsgLog && server->SqlAnalisaColunas);
    EXPECT_EQ(server->syscolumns, "syscolumns");
    EXPECT_EQ(server->sysobjects, "sysobjects");
    EXPECT_EQ(server->Logs(-1).ToInt32(), 0);
    // Kept.
    EXPECT_EQ(server->DB, "base");
    EXPECT_EQ(server->Login, login);
    EXPECT_TRUE(server->IgDupKey && server->SqlMix && server->erro);
    EXPECT_EQ(server->Aplicação, "app");
    EXPECT_EQ(server->connectionType, tq_dbconnectionORACLE8);
    EXPECT_EQ(server->ErroD, "last error");
    EXPECT_EQ(server->NRegistos, samples);
}

TEST(PostgresConnection, WrongPasswordLeavesTheSessionClosedWithTheDriversReason) {
    KVL_REQUIRE_POSTGRES();
    auto s = kvlSERV::Create();
    kvltest::Postgres::Configure(*s);
    std::string password = s->PWD;
    s->PWD = "not-the-password";
    s->Abre();
    EXPECT_FALSE(s->Aberto);
    EXPECT_TRUE(s->erro);
    bool busy = false;
    Handle conn = 0, stmt = 0;
    s->StackItemGet(1, busy, &conn, &stmt);
    EXPECT_EQ(stmt, 0u);
    EXPECT_NE(s->ErroLe(conn, 0).find("password"), std::string::npos) << s->ErroLe(conn, 0);
    s->PWD = password;
    s->Abre();
    EXPECT_TRUE(s->Aberto);
    EXPECT_FALSE(s->erro);
}
