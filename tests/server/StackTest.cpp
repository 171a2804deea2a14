// The statement stack on real databases and, for the cases drivers cannot produce, on
// the scripted driver manager.

#include <gtest/gtest.h>

#include <algorithm>

#include "Databases.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedSession;
using kvltest::SlotBusy;

namespace {

class RealStack : public kvltest::BackendTest {};

std::shared_ptr<kvlRES> Held(const std::shared_ptr<kvlSERV>& s) {
    auto r = s->StackGetNovo();
    r->Pai = s;  // so that dropping it gives the slot back
    return r;
}

// Whether the SQL log holds entry followed by a blank entry.
bool LoggedWithBlank(const kvlSERV& s, const std::string& entry) {
    std::vector<std::string> entries = kvltest::LogEntries(s);
    return !std::ranges::search(entries, std::vector<std::string>{entry, ""}).empty();
}

}  // namespace

TEST_P(RealStack, GrowsByOneExtraSlotAndShrinksBackToTheBase) {
    auto& s = session;
    s->Fecha();
    s->lStackBase = 2;
    s->Abre();
    ASSERT_EQ(s->Stack(), 2);
    s->Log = true;
    auto a = Held(s), b = Held(s);
    EXPECT_EQ(a->Indice, 1);
    EXPECT_EQ(b->Indice, 2);
    EXPECT_EQ(s->Stack(), 2);
    auto c = Held(s);
    EXPECT_EQ(c->Indice, 3);
    EXPECT_EQ(s->Stack(), 3);
    EXPECT_TRUE(LoggedWithBlank(*s, "Stack + \t3"));
    c.reset();
    EXPECT_EQ(s->Stack(), 2);
    EXPECT_TRUE(LoggedWithBlank(*s, "Stack - \t2"));

    // A base slot released stays connected and is handed out again.
    Handle conn = a->hConn;
    a->Liberta();
    EXPECT_EQ(s->Stack(), 2);
    auto again = Held(s);
    EXPECT_EQ(again->Indice, 1);
    EXPECT_EQ(again->hConn, conn);
}

TEST_P(RealStack, StackBaseOnClosedAndOpenSessions) {
    auto& s = session;
    s->Fecha();
    s->StackBase(3);  // closed: only remembered
    EXPECT_EQ(s->lStackBase, 3);
    EXPECT_EQ(s->Stack(), 0);
    s->lStackBase = 1;
    s->Abre();
    ASSERT_EQ(s->Stack(), 1);
    s->StackBase(3);
    EXPECT_EQ(s->Stack(), 3);
    s->StackBase(1);  // lowering disconnects nothing
    EXPECT_EQ(s->Stack(), 3);
    Held(s).reset();  // slots 2 and 3 are all free now, so they go
    EXPECT_EQ(s->Stack(), 1);
}

KVL_BACKENDS(RealStack);

TEST(Stack, ExtraSlotsGoWhenTheLastBusyOneIsReleasedAndBaseSlotsNever) {
    ScriptedSession s(false);
    s.server->lStackBase = 2;
    s.server->Abre();
    auto r1 = Held(s.server), r2 = Held(s.server), r3 = Held(s.server), r4 = Held(s.server);
    r4.reset();
    EXPECT_EQ(s.server->Stack(), 4);
    r4 = Held(s.server);
    r3.reset();
    EXPECT_EQ(s.server->Stack(), 4);
    r4.reset();
    EXPECT_EQ(s.server->Stack(), 2);
    r1.reset();
    r2.reset();
    EXPECT_EQ(s.odbc->Count("Disconnect"), 2u);  // the extra slots' only
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Stack, AFailedGrowthSlotIsFreedOnReleaseAndNotReconnectedWhileHeld) {
    ScriptedSession s;
    auto r1 = Held(s.server);
    s.odbc->Fail("DriverConnect", {"08001", 0, "down"});
    auto failed = Held(s.server);
    EXPECT_EQ(failed->Indice, 2);
    EXPECT_TRUE(s.server->erro);
    EXPECT_FALSE(s.server->Aberto);
    EXPECT_EQ(s.server->Stack(), 1);  // the failed slot lies outside the counted stack
    size_t live = s.odbc->LiveHandles();
    failed.reset();
    EXPECT_EQ(s.odbc->LiveHandles(), live - 1);  // its connection handle is freed

    s.odbc->Fail("DriverConnect", {"08001", 0, "down"});
    failed = Held(s.server);
    auto next = Held(s.server);
    EXPECT_NE(next->Indice, failed->Indice);
    EXPECT_NE(next->hConn, failed->hConn);
    failed.reset();
    // The failed slot now lies inside the counted stack: it is connected before it serves.
    auto again = Held(s.server);
    EXPECT_EQ(again->Indice, 2);
    EXPECT_NE(again->hStmt, 0u);
    again.reset();
    next.reset();
    r1.reset();
    s.server->Fecha();  // half-open now: released in full
    EXPECT_EQ(s.odbc->LiveHandles(), 0u);
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Stack, StaleResultSetsNeverTouchTheNewSession) {
    ScriptedSession s;
    auto old = s.Run(kvltest::TextColumn({"um", "dois"}));
    s.server->Abre();  // closes and reopens: slot 1 is a new connection now
    auto current = Held(s.server);
    ASSERT_EQ(current->Indice, 1);
    s.server->Log = true;
    int32_t entries = s.server->Logs(-1).ToInt32();
    size_t calls = s.odbc->calls.size();
    EXPECT_FALSE(old->TemLinhas());
    EXPECT_FALSE(old->MaisResultados());
    old->Liberta();
    EXPECT_EQ(old->Indice, 0);
    EXPECT_EQ(s.odbc->calls.size(), calls);
    EXPECT_EQ(s.server->Logs(-1).ToInt32(), entries);
    EXPECT_TRUE(SlotBusy(*s.server, 1));
    EXPECT_EQ(s.odbc->misuses, 0);
}

TEST(Stack, UsageSamplesWrapAfter120) {
    ScriptedSession s;
    for (int i = 0; i < 60; ++i) Held(s.server);  // each reserves and releases: two samples
    EXPECT_EQ(s.server->NRegistos, 120);
    EXPECT_EQ(s.server->GetBase(119), 1);
    EXPECT_EQ(s.server->GetBase(120), 0);
    auto r = Held(s.server);
    EXPECT_EQ(s.server->NRegistos, 1);
    EXPECT_EQ(s.server->GetBase(1), 1);
    EXPECT_THROW(s.server->GetBase(2), Error);
    s.server->Fecha();
    EXPECT_EQ(s.server->NRegistos, 1);  // samples survive a close
    EXPECT_EQ(s.server->GetBase(1), 1);
}

// Open/close cycles must give back every handle; the sanitizer build watches the real
// driver manager's memory, the scripted one counts handles.
TEST(Stack, ThousandOpenCloseCyclesLeakNothing) {
    kvltest::SqliteFile file;
    auto real = kvlSERV::Create();
    file.Configure(*real);
    ScriptedSession scripted(false);
    for (int i = 0; i < 1000; ++i) {
        for (auto* s : {&real, &scripted.server}) {
            (*s)->lStackBase = 3;
            (*s)->Abre();
            ASSERT_EQ((*s)->Stack(), 3);
            (*s)->Fecha();
        }
    }
    EXPECT_EQ(scripted.odbc->LiveHandles(), 0u);
    EXPECT_EQ(scripted.odbc->misuses, 0);
}
