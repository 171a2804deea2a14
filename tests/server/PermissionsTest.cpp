// Per-option rights of a user and its group: real permission tables on SQLite and
// PostgreSQL (a real group role there), the exact queries on the scripted layer, and the
// switching of a window's menu items.

#include <gtest/gtest.h>

#include <array>

#include "CatalogViews.h"
#include "FakeWindow.h"
#include "Scripted.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::FakeControl;
using kvltest::FakeWindow;

namespace {

class Permissions : public kvltest::CatalogBackendTest {
  protected:
    void SetUp() override {
        CatalogBackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE perm (sPERMuid varchar(64), sPERMemp varchar(255), "
            "sPERMopc varchar(40), sPERMperm varchar(20))");
        if (IsPostgres()) {
            // A login in a group role of this process, found through the shipped sysusers.
            std::string id = std::to_string(getpid());
            user = "kvl_u" + id;
            group = "kvl_g" + id;
            DropRoles();
            Run("CREATE ROLE " + group + " NOLOGIN");
            Run("CREATE ROLE " + user + " LOGIN");
            Run("GRANT " + group + " TO " + user);
        }
        // SQLite has no user catalogue: the group query fails, the group is empty, and the
        // group's rows are then those of the empty owner.
        for (auto [owner, db, code, letters] : {
                 Row{user, "", "x", "ab"},  // the user's deny blocks the group's grant
                 Row{group, "", "x", "a"}, Row{user, "", "up", "A"},  // upper case grants nothing
                 Row{user, "", "cm", "c"},                            // with the group's "ae"
                 Row{group, "", "cm", "ae"},
                 Row{user, "", "VENDAS", "a"},    // codes match in any case
                 Row{user, "*", "y", "n"},        // this database only; the group lacks it
                 Row{user, "outra", "z", "a"},    // another database
                 Row{group, "", "go", "gl"},      // the group's alone
                 Row{"kvl_alheio", "", "w", "a"}  // someone else's
             }) {
            std::string emp = db == "*" ? session->DB : db;
            Run("INSERT INTO perm VALUES ('" + owner + "', '" + emp + "', '" + code + "', '" +
                letters + "')");
        }
        session->TabelaDePerm = "perm";
        session->UID = user;
    }
    void TearDown() override {
        if (IsPostgres() && !user.empty()) DropRoles();
        CatalogBackendTest::TearDown();
    }
    void DropRoles() {
        session->Exec("DROP ROLE IF EXISTS " + user);
        session->Exec("DROP ROLE IF EXISTS " + group);
    }
    // Whether the rights of every option are as the group and user rows make them.
    void ExpectEffectiveRights() {
        struct Case {
            const char* code;
            bool exists;
            std::array<bool, 6> rights;  // access, view, create, save, delete, list
        };
        for (const Case& c : {
                 Case{"x", true, {}},
                 Case{"up", true, {}},
                 Case{"cm", true, {true, true, false, false, true, false}},
                 Case{"Vendas", true, {true, false, false, false, false, false}},
                 Case{"y", true, {false, false, true, false, false, false}},
                 Case{"go", true, {false, false, false, true, false, true}},
                 Case{"z", false, {}},
                 Case{"w", false, {}},
             }) {
            std::array<Variant, 6> v;
            v.fill(Variant("antes"));
            EXPECT_EQ(session->TabelaPerm(c.code, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]),
                      c.exists)
                << c.code;
            for (size_t i = 0; i < 6; ++i) EXPECT_EQ(v[i], Variant(c.rights[i])) << c.code << i;
            std::array<bool, 6> single{
                session->TabelaPermTemAcesso(c.code),     session->TabelaPermTemConsulta(c.code),
                session->TabelaPermTemInserção(c.code),   session->TabelaPermTemAlteração(c.code),
                session->TabelaPermTemEliminação(c.code), session->TabelaPermTemListagem(c.code)};
            EXPECT_EQ(single, c.rights) << c.code;
        }
    }

    using Row = std::array<std::string, 4>;
    std::string user = "utilizador";
    std::string group;  // "" on SQLite
};

TEST_P(Permissions, OpenLoadsAndMergesUserAndGroupRights) {
    session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                  session->Login);
    ASSERT_TRUE(session->Aberto);
    EXPECT_EQ(session->Grupo, group);
    // On SQLite the failed group query was reported like any failed command.
    EXPECT_EQ(dialogs->asked.empty(), IsPostgres());
    ExpectEffectiveRights();
    session->TabelaPermSimplifica();  // again: nothing changes
    ExpectEffectiveRights();
}

TEST_P(Permissions, GroupArgumentsUntouchedWhereTheGroupHasNoEntry) {
    session->TabelaPermCarrega(session->DB);
    Variant acesso("antes"), lista("antes");
    EXPECT_FALSE(
        session->TabelaPermGrupo("y", &acesso, nullptr, nullptr, nullptr, nullptr, &lista));
    EXPECT_EQ(acesso, Variant("antes"));
    EXPECT_EQ(lista, Variant("antes"));
    EXPECT_TRUE(session->TabelaPermGrupo("CM", &acesso));
    EXPECT_EQ(acesso, Variant(true));
}

TEST_P(Permissions, SuperUserHoldsEveryRightInAnyCase) {
    session->UID = "SA";
    session->TabelaPermCarrega(session->DB);
    Variant eliminar;
    EXPECT_TRUE(session->TabelaPerm("nenhuma", nullptr, nullptr, nullptr, nullptr, &eliminar));
    EXPECT_EQ(eliminar, Variant(true));
    EXPECT_TRUE(session->TabelaPermTemListagem("x"));
}

TEST_P(Permissions, MenuItemsFollowTheAccessRight) {
    session->TabelaPermCarrega(session->DB);
    auto window = std::make_shared<FakeWindow>("Principal", 0, 0, 100, 100);
    auto granted = std::make_shared<FakeControl>("cm", true);
    auto denied = std::make_shared<FakeControl>("x", true);
    auto withoutRow = std::make_shared<FakeControl>("nenhuma", true);
    auto untagged = std::make_shared<FakeControl>("", true);
    auto button = std::make_shared<FakeControl>("cm", false);
    window->controls = {granted, denied, withoutRow, untagged, button};
    session->TabelaPermVerifica(kvltest::AsVariant(window));
    EXPECT_EQ(granted->enabled, true);
    EXPECT_EQ(denied->enabled, false);
    EXPECT_EQ(withoutRow->enabled, false);
    EXPECT_FALSE(untagged->enabled);
    EXPECT_FALSE(button->enabled);
    EXPECT_EQ(button->tagReads, 1);

    session->UID = "sa";
    session->TabelaPermVerifica(kvltest::AsVariant(window));
    EXPECT_EQ(denied->enabled, true);
    EXPECT_EQ(withoutRow->enabled, true);
    EXPECT_FALSE(untagged->enabled);

    window->controls = {granted, nullptr};
    EXPECT_EQ(kvltest::ErrorOf([&] { session->TabelaPermVerifica(kvltest::AsVariant(window)); }),
              kObjectNotSet);
}

TEST_P(Permissions, ListsHoldMoreThan32767Options) {
    Run("INSERT INTO perm WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 33000) SELECT '" +
        user + "', '', 'o' || i, 'l' FROM n");
    session->TabelaPermCarrega(session->DB);
    EXPECT_TRUE(session->TabelaPermTemListagem("o33000"));
}

KVL_BACKENDS(Permissions);

// The texts sent, with quotes doubled in the values; a pending command goes in front of
// the group query only.
TEST(PermissionQueries, ExactTexts) {
    kvltest::ScriptedSession s;
    s.server->TabelaDePerm = "T";
    s.server->UID = "O'Neil";
    s.server->com("SET x;");
    s.odbc->ScriptExecution({kvltest::TextColumn({"Vendas'1"})});
    s.server->TabelaPermCarrega("D");
    const std::string perm = " SELECT sPERMopc,sPERMperm FROM T WHERE sPERMuid='";
    EXPECT_EQ(s.odbc->executed,
              (std::vector<std::string>{
                  " SET x; SELECT name FROM D.dbo.sysusers WHERE uid=(SELECT gid FROM "
                  "D.dbo.sysusers WHERE name='O''Neil')",
                  perm + "O''Neil' AND ( sPERMemp='D' OR sPERMemp='' ) order by sPERMopc",
                  perm + "Vendas''1' AND ( sPERMemp='D' OR sPERMemp='' ) order by sPERMopc"}));
    EXPECT_EQ(s.server->Grupo, "Vendas'1");
    EXPECT_TRUE(s.server->ActCom.empty());
}

TEST(PermissionQueries, NothingWithoutAPermissionTable) {
    kvltest::ScriptedSession s;
    s.server->com("SET x;");
    s.server->TabelaPermCarrega("D");
    EXPECT_TRUE(s.odbc->executed.empty());
    EXPECT_EQ(s.server->ActCom, " SET x;");
}

}  // namespace
