// What the session writes and reads must never cost the user data: a window's record
// survives a replacement the database refuses, batched position writes run, the close's
// writes survive a lost link, and values stay inside their SQL literals.

#include <gtest/gtest.h>
#include <unistd.h>

#include "CatalogViews.h"
#include "FakeWindow.h"
#include "kvl/kvlRES.h"

using namespace kvl;
using kvltest::AsVariant;
using kvltest::FakeWindow;

namespace {

class Safety : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE pos (sPOSuser varchar(40), sPOSform varchar(80), iPOSleft int, "
            "iPOStop int, iPOSwidth smallint, iPOSheight smallint, iPOSstate smallint, "
            "sPOSobs varchar(255), sPOStabgrelha text, sPOSapp varchar(40))");
    }
    // A session of user u1 and application APP on the same database (or the one login
    // names), with positions and, given their table, rights.
    std::shared_ptr<kvlSERV> Open(bool sqlMix = false, const std::string& login = "",
                                  const std::string& rights = "") {
        auto s = kvlSERV::Create();
        s->Dialogos = dialogs;
        s->TabelaDePos = "pos";
        s->TabelaDePerm = rights;
        s->UID = "u1";
        s->Aplicação = "APP";
        s->SqlMix = sqlMix;
        s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                login.empty() ? session->Login : login);
        EXPECT_TRUE(s->Aberto) << s->ErroD;
        return s;
    }
    // The first column of every row the query gives.
    std::vector<std::string> Column(const std::string& sql) {
        std::vector<std::string> values;
        auto r = session->Exec(sql);
        while (r && r->TemLinhas()) values.push_back(r->Col(1).ToString());
        return values;
    }
};

TEST_P(Safety, SavedRecordSurvivesAReplacementTheDatabaseRefuses) {
    std::vector<std::string> refused{std::string("a\0b", 3)};    // no literal carries a NUL
    if (IsPostgres()) refused.push_back(std::string(300, 'o'));  // longer than the column
    for (const std::string& obs : refused) {
        Run("DELETE FROM pos");
        Run("INSERT INTO pos VALUES ('u1', 'Clientes', 10, 20, 30, 40, 0, 'nota', '', 'APP')");
        dialogs->asked.clear();
        auto s = Open();
        Variant text(obs);
        s->TabelaPosGrava(AsVariant(std::make_shared<FakeWindow>("Clientes", 99, 0, 1, 1)), nullptr,
                          &text);
        s->Fecha();
        ASSERT_EQ(dialogs->asked.size(), 1u) << obs.size();
        EXPECT_EQ(dialogs->asked[0].style & 0xF, kAbortRetryIgnore);  // the error put to the user
        EXPECT_EQ(Column("SELECT sPOSform || ' ' || iPOSleft || ' ' || sPOSobs FROM pos"),
                  std::vector<std::string>{"Clientes 10 nota"})
            << obs.size();
    }
}

TEST_P(Safety, BatchedPositionWritesAreSaved) {
    auto s = Open(true);
    for (const char* form : {"A", "B"})
        s->TabelaPosGrava(AsVariant(std::make_shared<FakeWindow>(form, 5, 6, 7, 8)));
    s->Fecha();
    EXPECT_TRUE(dialogs->asked.empty());
    EXPECT_EQ(Column("SELECT sPOSform FROM pos ORDER BY 1"), (std::vector<std::string>{"A", "B"}));
}

KVL_BACKENDS(Safety);

// A lost link under a session that also reloads its rights when it reconnects: the close's
// writes that met the lost link go on as the user answered once the link is back, Retry
// writing the position again and Ignore keeping its stored value. The session's backends are
// ended from the test's own session, found by an application name only they carry.
class LinkRecovery : public Safety {};

TEST_P(LinkRecovery, TheClosesWritesGoOnAsAnsweredAfterALostLink) {
    Run("CREATE TABLE kvlPERM (sPERMuid varchar(40), sPERMemp varchar(40), "
        "sPERMopc varchar(40), sPERMperm varchar(12))");
    const std::string name = "kvl_link" + std::to_string(getpid());
    // Braces keep both settings in one attribute; a bare ";" would end it after the first.
    const std::string login = session->Login.substr(0, session->Login.find(";ConnSettings=")) +
                              ";ConnSettings={SET search_path TO " + schema +
                              ";SET application_name TO '" + name + "'}";
    for (auto [answer, kept] : {std::pair{kRetry, "A111"}, {kIgnore, "A1"}}) {
        Run("DELETE FROM pos");
        Run("INSERT INTO pos SELECT 'u1', f, l, 0, 10, 10, 0, '', '', 'APP' "
            "FROM (VALUES ('A', 1), ('B', 2)) v (f, l)");
        auto s = Open(false, login, "kvlPERM");
        for (auto [form, left] : {std::pair{"A", 111}, {"B", 222}, {"C", 333}})
            s->TabelaPosGrava(AsVariant(std::make_shared<FakeWindow>(form, left, 0, 10, 10)));
        auto ended = Column(
            "SELECT pg_terminate_backend(pid, 5000)::int FROM pg_stat_activity "
            "WHERE application_name = '" +
            name + "'");
        ASSERT_FALSE(ended.empty()) << session->ErroD;
        ASSERT_EQ(ended, std::vector<std::string>(ended.size(), "1")) << session->ErroD;
        dialogs->answers = {answer, kYes};
        s->Fecha();
        EXPECT_FALSE(s->Aberto);
        EXPECT_TRUE(dialogs->answers.empty()) << "the error or the lost link went unasked";
        EXPECT_EQ(Column("SELECT sPOSform || iPOSleft FROM pos ORDER BY 1"),
                  (std::vector<std::string>{kept, "B222", "C333"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, LinkRecovery, testing::Values("postgres"));

// PostgreSQL with backslashes taken as escapes inside literals, as older clients set it: the
// session learns it at the open, and a value that would end its literal early stays a value.
class BackslashEscapes : public kvltest::CatalogBackendTest {};

TEST_P(BackslashEscapes, ValuesNeverEndTheirLiteral) {
    Run("CREATE TABLE ruas (nome varchar(40))");
    std::string login = session->Login.substr(0, session->Login.find(";ConnSettings="));
    session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                  login + ";ConnSettings={SET search_path TO " + schema +
                      ", dbo;SET standard_conforming_strings TO off}");
    auto r = session->Exec("SHOW standard_conforming_strings");
    ASSERT_TRUE(r && r->TemLinhas()) << session->ErroD;
    ASSERT_EQ(r->Col(1).ToString(), "off");
    EXPECT_TRUE(session->CamposExisteCampo("ruas", "nome"));
    EXPECT_FALSE(session->CamposExisteCampo("ruas", "x\\' OR 1=1 --"));
}

INSTANTIATE_TEST_SUITE_P(Drivers, BackslashEscapes, testing::Values("postgres"));

}  // namespace
