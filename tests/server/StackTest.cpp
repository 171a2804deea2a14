// The statement stack on real databases and, for the cases drivers cannot produce, on
// the scripted driver manager.

#include <gtest/gtest.h>

#include "Databases.h"
#include "ScriptedOdbc.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::ScriptedOdbc;

namespace {

// The same stack behaviour on each real driver.
class RealStack : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        session = kvlSERV::Create();
        if (GetParam() == "postgres") {
            KVL_REQUIRE_POSTGRES();
            kvltest::Postgres::Configure(*session);
        } else {
            file.Configure(*session);
        }
    }
    kvltest::SqliteFile file;
    std::shared_ptr<kvlSERV> session;
};

std::shared_ptr<kvlRES> Held(const std::shared_ptr<kvlSERV>& s) {
    auto r = s->StackGetNovo();
    r->Pai = s;  // so that dropping it gives the slot back
    return r;
}

// Whether the SQL log holds entry followed by a blank entry.
bool LoggedWithBlank(const kvlSERV& s, const std::string& entry) {
    for (int16_t i = 1; i < s.Logs(-1).ToInt32(); ++i)
        if (s.Logs(i).ToString() == entry && s.Logs(i + 1).ToString().empty()) return true;
    return false;
}

}  // namespace

TEST_P(RealStack, GrowsByOneExtraSlotAndShrinksBackToTheBase) {
    auto& s = session;
    s->lStackBase = 2;
    s->Abre();
    ASSERT_TRUE(s->Aberto) << s->Login;
    s->Log = true;
    EXPECT_EQ(s->Stack(), 2);

    auto a = Held(s), b = Held(s);
    EXPECT_EQ(a->Indice, 1);
    EXPECT_EQ(b->Indice, 2);
    EXPECT_EQ(s->Stack(), 2);
    auto c = Held(s);
    EXPECT_EQ(c->Indice, 3);
    EXPECT_EQ(s->Stack(), 3);
    EXPECT_TRUE(LoggedWithBlank(*s, "Stack + \t3"));
    EXPECT_EQ(s->GetBase(s->NRegistos), 2);
    EXPECT_EQ(s->GetExtra(s->NRegistos), 1);

    c.reset();
    EXPECT_EQ(s->Stack(), 2);
    EXPECT_TRUE(LoggedWithBlank(*s, "Stack - \t2"));
    EXPECT_EQ(s->GetExtra(s->NRegistos), 0);

    // A base slot released stays connected and is handed out again.
    Handle conn = a->hConn;
    a->Liberta();
    EXPECT_EQ(s->Stack(), 2);
    auto again = Held(s);
    EXPECT_EQ(again->Indice, 1);
    EXPECT_EQ(again->hConn, conn);
    s->Fecha();
}

TEST_P(RealStack, StackBaseOnOpenAndClosedSessions) {
    auto& s = session;
    s->StackBase(3);  // closed: only remembered
    EXPECT_EQ(s->lStackBase, 3);
    EXPECT_EQ(s->Stack(), 0);
    s->lStackBase = 1;
    s->Abre();
    ASSERT_TRUE(s->Aberto);
    EXPECT_EQ(s->Stack(), 1);
    s->StackBase(3);
    EXPECT_EQ(s->Stack(), 3);
    s->StackBase(1);  // lowering disconnects nothing
    EXPECT_EQ(s->Stack(), 3);
    s->Stack(9);  // accepted and ignored
    EXPECT_EQ(s->Stack(), 3);
    auto r = Held(s);
    r.reset();  // slots 2 and 3 are all free now, so they go
    EXPECT_EQ(s->Stack(), 1);
    s->Fecha();
}

INSTANTIATE_TEST_SUITE_P(Drivers, RealStack, testing::Values("sqlite", "postgres"));

TEST(Stack, ExtraSlotsGoOnlyWhenTheLastBusyOneIsReleased) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->lStackBase = 2;
    s->Abre();
    auto r1 = Held(s), r2 = Held(s), r3 = Held(s), r4 = Held(s);
    ASSERT_EQ(s->Stack(), 4);
    r3.reset();
    EXPECT_EQ(s->Stack(), 4);
    EXPECT_EQ(odbc->Count("Disconnect"), 0u);
    r4.reset();
    EXPECT_EQ(s->Stack(), 2);
    EXPECT_EQ(odbc->Count("Disconnect"), 2u);
    r1.reset();
    r2.reset();
    EXPECT_EQ(odbc->Count("Disconnect"), 2u);  // base slots are never disconnected
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Stack, FailedGrowthHandsOutTheSlotAndFreesItOnRelease) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre();
    auto r1 = Held(s);
    odbc->Script("DriverConnect", {{odbc::kError, odbc::Diagnostic{"08001", 0, "down"}}});
    auto r2 = Held(s);
    EXPECT_EQ(r2->Indice, 2);
    EXPECT_TRUE(s->erro);
    EXPECT_FALSE(s->Aberto);
    EXPECT_EQ(s->Stack(), 1);  // the failed slot lies outside the counted stack
    size_t live = odbc->LiveHandles();
    r2.reset();
    EXPECT_EQ(odbc->LiveHandles(), live - 1);  // its connection handle is freed
    s->Fecha();                                // half-open now: released in full
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Stack, AHeldFailedSlotIsNotReconnectedUnderItsHolder) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre();
    auto r1 = Held(s);
    odbc->Script("DriverConnect", {{odbc::kError, {}}});
    auto failed = Held(s);
    auto next = Held(s);
    EXPECT_NE(next->Indice, failed->Indice);
    EXPECT_NE(next->hConn, failed->hConn);
    failed.reset();
    next.reset();
    r1.reset();
    s.reset();
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Stack, StaleResultSetsNeverTouchANewSession) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre();
    auto old = Held(s);
    s->Abre();  // closes and reopens: slot 1 is a new connection now
    auto current = Held(s);
    ASSERT_EQ(current->Indice, 1);
    size_t closes = odbc->Count("CloseCursor");
    old->Liberta();
    EXPECT_EQ(old->Indice, 0);
    EXPECT_EQ(odbc->Count("CloseCursor"), closes);
    bool busy = false;
    s->StackItemGet(1, busy);
    EXPECT_TRUE(busy);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(Stack, UsageSamplesWrapAfter120) {
    auto s = kvlSERV::Create(std::make_shared<ScriptedOdbc>());
    s->Abre();
    for (int i = 0; i < 60; ++i) Held(s);  // each one reserves and releases: two samples
    EXPECT_EQ(s->NRegistos, 120);
    EXPECT_EQ(s->GetBase(119), 1);
    EXPECT_EQ(s->GetBase(120), 0);
    auto r = Held(s);
    EXPECT_EQ(s->NRegistos, 1);
    EXPECT_EQ(s->GetBase(1), 1);
    EXPECT_THROW(s->GetBase(2), Error);
    EXPECT_THROW(s->GetExtra(-1), Error);
    s->Fecha();
    EXPECT_EQ(s->NRegistos, 1);  // samples survive a close
    EXPECT_EQ(s->GetBase(1), 1);
}

TEST(Stack, ResultSetWithoutPaiKeepsItsSlotUntilClose) {
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto s = kvlSERV::Create(odbc);
    s->Abre();
    s->StackGetNovo();  // dropped at once, but it cannot reach its server
    bool busy = false;
    s->StackItemGet(1, busy);
    EXPECT_TRUE(busy);
    EXPECT_THROW(s->StackItemGet(5, busy), Error);
    s->Fecha();
    EXPECT_EQ(odbc->LiveHandles(), 0u);
}

// Open/close cycles must give back every handle; the sanitizer build watches the real
// driver manager's memory, the scripted one counts handles.
TEST(Stack, ThousandOpenCloseCyclesLeakNothing) {
    kvltest::SqliteFile file;
    auto real = kvlSERV::Create();
    file.Configure(*real);
    auto odbc = std::make_shared<ScriptedOdbc>();
    auto scripted = kvlSERV::Create(odbc);
    for (int i = 0; i < 1000; ++i) {
        for (auto* s : {&real, &scripted}) {
            (*s)->lStackBase = 3;
            (*s)->Abre();
            ASSERT_EQ((*s)->Stack(), 3);
            (*s)->Fecha();
        }
    }
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}
