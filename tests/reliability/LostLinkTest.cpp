// Lost links on the real server: a backend terminated in the middle of a read is answered Yes
// and leaves a working session; a typed read that loses its link to a server restart fails
// where it stopped, and asks nothing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Databases.h"
#include "Workloads.h"
#include "kvl/OdbcError.h"
#include "kvl/kvlRES.h"

namespace {

// Cycles of the sanitizer build's run; bench/reliability runs 200.
constexpr int kCycles = 20;

std::shared_ptr<kvl::kvlSERV> Open(const std::string& login) {
    auto s = kvl::kvlSERV::Create();
    s->Dialogos = std::make_shared<kvlrel::ReconnectDialogs>();
    s->Abre(login);
    return s;
}

TEST(LostLink, ABackendTerminatedDuringAReadIsReconnectedEveryTime) {
    KVL_REQUIRE_POSTGRES();
    auto session = Open(kvltest::PostgresConnectionText("UseDeclareFetch=1;Fetch=1"));
    auto killer = Open(kvltest::PostgresConnectionText());
    ASSERT_TRUE(session->Aberto && killer->Aberto);
    for (int i = 0; i < kCycles; ++i) ASSERT_EQ(kvlrel::LostLinkCycle(*session, *killer), "") << i;
}

// A cluster of the test's own on a port of its own, removed when the test ends.
class ScratchServer : public testing::Test {
  protected:
    void SetUp() override {
        KVL_REQUIRE_POSTGRES();
        name_ = "kvlrestart" + std::to_string(getpid());
        port_ = std::to_string(20000 + getpid() % 20000);
        ASSERT_EQ(Script("start " + name_ + " " + port_), 0);
        started_ = true;
    }
    void TearDown() override {
        if (started_) Script("remove " + name_);
    }
    int Script(const std::string& arguments) {
        return std::system((KVL_SOURCE_DIR "/scripts/pg-scratch " + arguments + " >&2").c_str());
    }
    std::string Login() {
        return "DRIVER=PostgreSQL;SERVER=localhost;PORT=" + port_ +
               ";DATABASE=kvltest;UID=kvltest;PWD=kvltest";
    }
    std::string name_, port_;
    bool started_ = false;
};

// The server's rows come a block at a time from a server cursor, so the restart falls between
// two blocks: the first is delivered whole, and the second fails at its first row, for good.
TEST_F(ScratchServer, ATypedReadFailsAtTheFirstRowOfTheBlockItLost) {
    auto session = Open(Login() + ";UseDeclareFetch=1;Fetch=100");
    ASSERT_TRUE(session->Aberto) << session->ErroD;
    auto r = session->Exec("SELECT g FROM generate_series(1, 1000) AS g");
    for (int64_t g = 1; g <= 100; ++g) {
        ASSERT_TRUE(r->TemLinhasTipadas(100));
        ASSERT_EQ(r->ColTipada(1), kvl::TypedValue(g));
    }
    ASSERT_EQ(Script("restart " + name_), 0);
    std::string state;
    try {
        r->TemLinhasTipadas();
    } catch (const kvl::OdbcError& e) {
        state = e.state();
    }
    EXPECT_TRUE(state == "08S01" || state.starts_with("57P")) << state;
    EXPECT_THROW(r->TemLinhasTipadas(), kvl::OdbcError);
    EXPECT_EQ(r->Lins, 100);
    EXPECT_EQ(dynamic_cast<kvlrel::ReconnectDialogs&>(*session->Dialogos).questions, 0);
}

}  // namespace
