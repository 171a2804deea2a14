// Lost links on the real server: a backend terminated in the middle of a read, and the whole
// server restarted under an open session. Each is answered Yes and leaves a working session.
// A typed read that loses its link fails where it stopped, and asks nothing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Databases.h"
#include "FakeWindow.h"
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
    auto session = Open(kvlrel::PostgresLogin("UseDeclareFetch=1;Fetch=1"));
    auto killer = Open(kvlrel::PostgresLogin());
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

// The reconnection reopens the links only: the rights and window positions the session
// holds stay as they were, and a position changed before the restart is written at the close.
TEST_F(ScratchServer, AfterARestartTheNextCommandOffersToReconnectAndYesWorks) {
    auto setup = Open(Login());
    ASSERT_TRUE(setup->Aberto) << setup->ErroD;
    for (const char* sql :
         {"CREATE SCHEMA IF NOT EXISTS dbo",
          "CREATE OR REPLACE VIEW dbo.sysusers AS SELECT 1 AS uid, 0 AS gid, 'kvltest' AS name",
          "CREATE TABLE perm (sPERMuid varchar(40), sPERMemp varchar(40), sPERMopc varchar(40),"
          " sPERMperm varchar(12))",
          "INSERT INTO perm VALUES ('kvltest', '', 'vendas', 'a')",
          "CREATE TABLE pos (sPOSuser varchar(40), sPOSform varchar(80), iPOSleft int, iPOStop int,"
          " iPOSwidth smallint, iPOSheight smallint, iPOSstate smallint, sPOSobs text,"
          " sPOStabgrelha text, sPOSapp varchar(40))",
          "INSERT INTO pos VALUES ('kvltest', 'Clientes', 10, 20, 300, 200, 0, '', '', '')"})
        ASSERT_FALSE(setup->Exec(sql)->erro) << sql << ": " << setup->ErroD;

    auto session = kvl::kvlSERV::Create();
    session->Dialogos = std::make_shared<kvlrel::ReconnectDialogs>();
    session->TabelaDePerm = "perm";
    session->TabelaDePos = "pos";
    session->DB = session->UID = "kvltest";  // the login text is given whole: name them
    session->Abre(Login());
    ASSERT_TRUE(session->Aberto) << session->ErroD;
    ASSERT_TRUE(session->TabelaPermTemAcesso("vendas"));
    ASSERT_EQ(kvlrel::ValueOf(*session, "SELECT 1"), "1");

    ASSERT_FALSE(setup->Exec("UPDATE perm SET sPERMperm = 'c'")->erro);
    ASSERT_FALSE(setup->Exec("UPDATE pos SET iPOSleft = 50")->erro);
    auto moved = std::make_shared<kvltest::FakeWindow>("Fornecedores", 7, 8, 90, 60);
    session->TabelaPosGrava(kvl::Variant(moved));
    ASSERT_EQ(Script("restart " + name_), 0);

    auto r = session->Exec("SELECT 2");
    EXPECT_TRUE(r->erro);  // ignored, then reconnected: not run again
    EXPECT_EQ(dynamic_cast<kvlrel::ReconnectDialogs&>(*session->Dialogos).questions, 1);
    EXPECT_TRUE(session->Aberto) << session->ErroD;
    r.reset();
    EXPECT_EQ(kvlrel::ValueOf(*session, "SELECT 3"), "3");

    EXPECT_TRUE(session->TabelaPermTemAcesso("vendas"));
    auto window = std::make_shared<kvltest::FakeWindow>("Clientes", 0, 0, 100, 100);
    EXPECT_TRUE(session->TabelaPosLe(kvl::Variant(window)));
    EXPECT_EQ(window->left, 10);
    session->Fecha();
    auto after = Open(Login());
    EXPECT_EQ(kvlrel::ValueOf(*after, "SELECT count(*) FROM pos WHERE sPOSform = 'Fornecedores'"),
              "1");
}

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
