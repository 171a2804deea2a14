// Opening and closing: the connection text, the handles and the reason of refused and
// repeated opens, and what the close resets.

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedSession;

TEST(ConnectionText, BuiltFromThePropertiesWithAwkwardValuesBraced) {
    ScriptedSession s(false);
    auto& server = s.server;
    server->Abre(std::string("d"), std::string("a;b"), std::string(" x"), std::string("p}w=1"));
    EXPECT_EQ(server->Login, "DSN=d;DATABASE={a;b};DBQ={a;b};UID={ x};PWD={p}}w=1}");
    server->Abre(std::nullopt, std::string("base"), std::string(""), std::string(""),
                 std::string("SQL Server"), std::nullopt, std::nullopt, std::string("srv"));
    EXPECT_EQ(server->Login, "DRIVER=SQL Server;SERVER=srv;DATABASE=base;DBQ=base;UID=;PWD=");
    server->Driver = "";
    server->Abre("outra");  // no "=": a data source's name
    EXPECT_EQ(server->Login, "DSN=outra;DATABASE=base;DBQ=base;UID=;PWD=");
    server->Abre("DRIVER=SQLite3;Database=f.db");  // a whole text, whatever the properties say
    EXPECT_EQ(server->Login, "DRIVER=SQLite3;Database=f.db");
    EXPECT_TRUE(std::ranges::any_of(  // the text the driver manager was given
        s.odbc->calls, [&](auto& c) { return c.ends_with(", " + server->Login + ")"); }));
}

// Every handle is freed once, whether the session was open, half open after a refused
// connect, or closed by its last reference. The close puts the settings back for the next
// open and keeps what names the database and the last failure; a refused open resets nothing.
TEST(OpenAndClose, HandlesAreFreedOnceAndTheCloseResetsTheSettings) {
    ScriptedSession s(false);
    auto& server = s.server;
    server->lStackBase = 3;
    server->Log = true;
    s.odbc->Fail("DriverConnect", {"28000", 0, "login failed"});
    server->Abre();
    EXPECT_EQ(server->Stack(), 0);
    EXPECT_TRUE(server->erro && !server->Aberto);
    EXPECT_EQ(server->ErroD, "login failed");
    EXPECT_EQ(s.odbc->Count("DriverConnect"), 1u);  // a lockout policy counts every try
    server->Fecha();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_TRUE(server->lStackBase == 3 && server->Log);
    s.odbc->Fail("DriverConnect", {"28000", 0, "login failed"});
    server->Abre();
    server->Abre();  // releases what the refused open left
    EXPECT_EQ(server->Stack(), 3);
    auto held = server->StackGetNovo();
    std::string login = server->Login;
    server->ComMsg = false;
    server->ErroD = "last error";
    server->Fecha();
    EXPECT_FALSE(server->Aberto);
    EXPECT_EQ(server->hEnv, 0u);
    EXPECT_FALSE(server->Log);
    EXPECT_EQ(server->Logs(-1).ToInt32(), 0);
    EXPECT_EQ(server->lStackBase, 1);
    EXPECT_TRUE(server->ComMsg);
    EXPECT_EQ(server->Login, login);
    EXPECT_EQ(server->ErroD, "last error");
    server->Abre();
    server->Abre();  // an open session is closed first
    held.reset();
    server.reset();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}
