// Opening and closing on the scripted driver manager, which counts connects and checks that
// every handle is freed once: the connection text, refused and repeated opens, what the close
// resets, and the statement stack (base slots stay connected, extra slots come and go, usage is
// sampled, and result sets that outlive their session stay inert).

#include <gtest/gtest.h>

#include "Databases.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;

TEST(ConnectionText, BuiltFromThePropertiesWithAwkwardValuesBraced) {
    kvltest::ScriptedSession s(false);
    s.server->Abre(std::string("d"), std::string("a;b"), std::string(" x"), std::string("p}w=1"));
    EXPECT_EQ(s.server->Login, "DSN=d;DATABASE={a;b};DBQ={a;b};UID={ x};PWD={p}}w=1}");
    s.server->Abre(std::nullopt, std::string("base"), std::string(""), std::string(""),
                   std::string("SQL Server"), std::nullopt, std::nullopt, std::string("srv"));
    EXPECT_EQ(s.server->Login, "DRIVER=SQL Server;SERVER=srv;DATABASE=base;DBQ=base;UID=;PWD=");
    s.server->Driver = "";
    s.server->Abre("outra");  // no "=": a data source's name
    EXPECT_EQ(s.server->Login, "DSN=outra;DATABASE=base;DBQ=base;UID=;PWD=");
    s.server->Abre("DRIVER=SQLite3;Database=f.db");  // a whole text, whatever the properties say
    EXPECT_EQ(s.server->Login, "DRIVER=SQLite3;Database=f.db");
    EXPECT_TRUE(std::ranges::any_of(  // the text the driver manager was given
        s.odbc->calls, [&](auto& c) { return c.ends_with(", " + s.server->Login + ")"); }));
}

// Every handle is freed once, whether the session was open, half open after a refused
// connect, or closed by its last reference. The close puts the settings back for the next
// open and keeps what names the database and the last failure; a refused open resets nothing.
TEST(OpenAndClose, HandlesAreFreedOnceAndTheCloseResetsTheSettings) {
    kvltest::ScriptedSession s(false);
    auto& server = s.server;
    server->lStackBase = 3;
    server->Log = true;
    s.odbc->Fail("DriverConnect", {"28000", 0, "login failed"});
    server->Abre();
    EXPECT_EQ(std::tuple(server->Stack(), server->erro, server->Aberto, server->ErroD),
              std::tuple(0, true, false, "login failed"));
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
    EXPECT_EQ(std::tuple(server->Aberto, server->hEnv, server->Log, server->Logs(-1).ToInt32(),
                         server->lStackBase, server->ComMsg, server->Login, server->ErroD),
              std::tuple(false, Handle{0}, false, 0, int16_t{1}, true, login, "last error"));
    server->Abre();
    server->Abre();  // an open session is closed first
    held.reset();
    server.reset();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

// A result set taken from the stack gives its slot back when dropped. The base, set while
// closed, takes effect at the open; lowered, it disconnects nothing until a release.
TEST(Stack, ExtraSlotsComeAndGoAndBaseSlotsStayConnected) {
    kvltest::ScriptedSession s(false);
    s.server->StackBase(2);
    EXPECT_EQ(s.odbc->Count("DriverConnect"), 0u);
    s.server->Abre();
    auto r1 = s.server->StackGetNovo(), r2 = s.server->StackGetNovo(),
         r3 = s.server->StackGetNovo(), r4 = s.server->StackGetNovo();
    EXPECT_EQ(r4->Indice, 4);
    r4.reset();
    EXPECT_EQ(s.server->Stack(), 4);  // slot 3 is still busy
    r3.reset();
    EXPECT_EQ(s.server->Stack(), 2);
    EXPECT_EQ(s.odbc->Count("Disconnect"), 2u);
    Handle conn = r1->hConn;
    r1.reset();
    r1 = s.server->StackGetNovo();
    EXPECT_EQ(r1->Indice, 1);
    EXPECT_EQ(r1->hConn, conn);
    s.server->StackBase(1);
    EXPECT_EQ(s.server->Stack(), 2);
    r2.reset();
    EXPECT_EQ(s.server->Stack(), 1);
    EXPECT_EQ(s.odbc->Count("Disconnect"), 3u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

// A slot whose connect failed as the stack grew lies outside the counted stack, is freed
// when given back, and is connected anew before it serves from inside the stack.
TEST(Stack, AFailedGrowthSlotIsFreedOnReleaseAndReconnectedBeforeItServes) {
    kvltest::ScriptedSession s;
    auto r1 = s.server->StackGetNovo();
    s.odbc->Fail("DriverConnect", {"08001", 0, "down"});
    auto failed = s.server->StackGetNovo();
    EXPECT_EQ(failed->Indice, 2);
    EXPECT_EQ(s.server->Stack(), 1);
    size_t live = s.odbc->LiveHandles();
    failed.reset();
    EXPECT_EQ(s.odbc->LiveHandles(), live - 1);
    s.odbc->Fail("DriverConnect", {"08001", 0, "down"});
    failed = s.server->StackGetNovo();
    auto next = s.server->StackGetNovo();
    EXPECT_EQ(next->Indice, 3);
    failed.reset();
    auto again = s.server->StackGetNovo();
    EXPECT_EQ(again->Indice, 2);
    EXPECT_NE(again->hStmt, 0u);
    again.reset();
    next.reset();
    r1.reset();
    s.server->Fecha();
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Stack, AResultSetOfAClosedSessionNeverTouchesTheNewOne) {
    kvltest::ScriptedSession s;
    auto old = s.Run(kvltest::TextColumn({"um", "dois"}));
    s.server->Abre();  // closes and reopens: slot 1 is a new connection now
    auto current = s.server->StackGetNovo();
    size_t calls = s.odbc->calls.size();
    EXPECT_FALSE(old->TemLinhas());
    EXPECT_FALSE(old->MaisResultados());
    old->Liberta();
    EXPECT_EQ(old->Indice, 0);
    EXPECT_EQ(s.odbc->calls.size(), calls);
    EXPECT_TRUE(kvltest::SlotBusy(*s.server, current->Indice));
}

// Every reservation and release takes a sample; 120 are kept, and they outlive a close.
TEST(Stack, UsageSamplesWrapAfter120) {
    kvltest::ScriptedSession s;
    for (int i = 0; i < 60; ++i) s.server->StackGetNovo();
    EXPECT_EQ(s.server->NRegistos, 120);
    EXPECT_EQ(s.server->GetBase(119), 1);
    EXPECT_EQ(s.server->GetBase(120), 0);
    auto r = s.server->StackGetNovo();
    s.server->Fecha();
    EXPECT_EQ(s.server->NRegistos, 1);
    EXPECT_EQ(s.server->GetBase(1), 1);
    EXPECT_THROW(s.server->GetBase(2), Error);
}
