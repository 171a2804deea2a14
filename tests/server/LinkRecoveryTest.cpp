// A lost link under a session that reloads its rights and window positions when it
// reconnects: the close's writes that met the lost link must go on as the user answered once
// the link is back. The session's own backends are ended from a second
// session, found by an application name only they carry.

#include <gtest/gtest.h>
#include <unistd.h>

#include "Databases.h"
#include "FakeWindow.h"
#include "kvl/kvlRES.h"

using namespace kvl;
using kvltest::FakeWindow;

namespace {

class LinkRecovery : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE kvlPERM (sPERMuid varchar(40), sPERMemp varchar(40), "
            "sPERMopc varchar(40), sPERMperm varchar(12))");
        Run("CREATE TABLE pos (sPOSuser varchar(40), sPOSform varchar(80), iPOSleft int, "
            "iPOStop int, iPOSwidth smallint, iPOSheight smallint, iPOSstate smallint, "
            "sPOSobs varchar(255), sPOStabgrelha text, sPOSapp varchar(40))");
        Run("INSERT INTO pos SELECT '" + session->UID +
            "', f, l, 0, 10, 10, 0, '', '', 'APP' FROM (VALUES ('A', 1), ('B', 2)) v (f, l)");
        kvltest::Postgres::Configure(*observer);
        observer->Abre();
        ASSERT_TRUE(observer->Aberto);

        // Braces keep both settings in one attribute; a bare ";" would end it after the first.
        name = "kvl_link" + std::to_string(getpid());
        std::string login = session->Login.substr(0, session->Login.find(";ConnSettings="));
        session->TabelaDePerm = "kvlPERM";
        session->TabelaDePos = "pos";
        session->Aplicação = "APP";
        session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                      login + ";ConnSettings={SET search_path TO " + schema +
                          ";SET application_name TO '" + name + "'}");
        ASSERT_TRUE(session->Aberto) << session->ErroD;
    }
    // The schema goes through the second session: a failed recovery may leave this one
    // in any state.
    void TearDown() override {
        session->TabelaDePerm = session->TabelaDePos = "";
        if (!schema.empty() && observer->Aberto) {
            auto r = observer->Exec("DROP SCHEMA " + schema + " CASCADE");
            EXPECT_FALSE(r->erro) << observer->ErroD;
            schema.clear();
        }
        BackendTest::TearDown();
    }
    // Ends the session's backends, one pid at a time, and waits until each is gone.
    void EndBackends() {
        auto pids =
            Rows("SELECT pid FROM pg_stat_activity WHERE application_name = '" + name + "'");
        ASSERT_FALSE(pids.empty()) << observer->ErroD;
        for (const std::string& pid : pids)
            ASSERT_EQ(Rows("SELECT pg_terminate_backend(" + pid + ", 5000)::int"),
                      std::vector<std::string>{"1"})
                << pid << ": " << observer->ErroD;
    }
    // The first column of the rows the second session reads.
    std::vector<std::string> Rows(const std::string& sql) {
        std::vector<std::string> rows;
        auto r = observer->Exec(sql);
        while (r && r->TemLinhas()) rows.push_back(r->Col(1).ToString());
        return rows;
    }
    // Moves A and B, adds C, loses the link and closes with these answers.
    void CloseAfterLostLink(int32_t answer) {
        for (auto [form, left] : {std::pair{"A", 111}, {"B", 222}, {"C", 333}})
            session->TabelaPosGrava(
                kvltest::AsVariant(std::make_shared<FakeWindow>(form, left, 0, 10, 10)));
        EndBackends();
        dialogs->answers = {answer, kYes};
        session->Fecha();
        EXPECT_FALSE(session->Aberto);
        EXPECT_TRUE(dialogs->answers.empty()) << "the error or the lost link went unasked";
    }

    std::shared_ptr<kvlSERV> observer = kvlSERV::Create();
    std::string name;
};

TEST_P(LinkRecovery, CloseRetriesThePositionThatMetTheLostLink) {
    CloseAfterLostLink(kRetry);
    EXPECT_EQ(Rows("SELECT sPOSform || iPOSleft FROM " + schema + ".pos ORDER BY 1"),
              (std::vector<std::string>{"A111", "B222", "C333"}));
}

TEST_P(LinkRecovery, CloseKeepsTheStoredValueOfAnIgnoredPosition) {
    CloseAfterLostLink(kIgnore);
    EXPECT_EQ(Rows("SELECT sPOSform || iPOSleft FROM " + schema + ".pos ORDER BY 1"),
              (std::vector<std::string>{"A1", "B222", "C333"}));
}

INSTANTIATE_TEST_SUITE_P(Drivers, LinkRecovery, testing::Values("postgres"));

}  // namespace
