// Per-option rights of a user and its group: the queries and the merging of the letters on
// a fake runner, the session's members on a closed session, and the load at open on SQLite
// and PostgreSQL (a real group role there, found through the shipped sysusers view).

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "../../kvl/services/Permissions.h"
#include "CatalogViews.h"
#include "FakeRunner.h"
#include "FakeWindow.h"

using namespace kvl;
using namespace kvltest;
using Rights = services::Permissions::Rights;
using Table = std::vector<std::vector<std::string>>;

namespace {

// The service loaded for user O'Neil of database D; the runner answers the group query,
// then the user's rows, then the group's.
struct Loaded {
    std::shared_ptr<kvlSERV> s = kvlSERV::Create();  // only the holder of the properties
    FakeRunner run;
    services::Permissions perms;
    Loaded(const Table& group, const Table& user, const Table& groupRows) {
        s->TabelaDePerm = "T";
        s->UID = "O'Neil";
        s->DB = "D";
        s->Aberto = true;
        run.answers = {FakeRunner::Rows(group), FakeRunner::Rows(user),
                       FakeRunner::Rows(groupRows)};
        perms.Load(run, *s);
        s->Aberto = false;
    }
    std::optional<Rights> User(std::string_view code) {
        Rights r;
        return perms.OfUser(code, r) ? std::optional(r) : std::nullopt;
    }
};

// The queries themselves run on the real databases below, with names that need no quoting.
TEST(PermissionService, TheUserIsALiteralAndWithoutATableNothingRuns) {
    Table many;  // more options than a 16-bit count holds
    for (int i = 1; i <= 33000; ++i) many.push_back({"o" + std::to_string(i), "l"});
    Loaded l({{"G"}}, many, {});
    EXPECT_TRUE(l.User("o33000").has_value());
    ASSERT_EQ(l.run.queries.size(), 3u);
    for (size_t i : {0, 1}) EXPECT_NE(l.run.queries[i].find("'O''Neil'"), std::string::npos) << i;
    l.s->TabelaDePerm = "";
    l.run.pending = "SET y;";
    l.perms.Load(l.run, *l.s);
    EXPECT_EQ(l.run.queries.size(), 3u);
    EXPECT_EQ(l.run.pending, "SET y;");
}

TEST(PermissionService, UserDecidesAndTheGroupFillsWhatTheUserLeavesOpen) {
    Loaded l({{"G"}},
             {{"x", "ab"},      // the user's own deny beats the group's grant
              {"up", "AC"},     // upper-case letters grant nothing
              {"cm", "c"},      // the group adds access and delete
              {"VENDAS", "a"},  // codes match in any case
              {"y", "nd"}},     // the user's deny of view blocks the group's view
             {{"x", "a"}, {"CM", "ae"}, {"y", "c"}, {"go", "gl"}});
    for (int pass = 0; pass < 2; ++pass) {  // merging again changes nothing
        EXPECT_EQ(l.User("x"), Rights{});
        EXPECT_EQ(l.User("up"), Rights{});
        EXPECT_EQ(l.User("cm"), (Rights{true, true, false, false, true, false}));
        EXPECT_EQ(l.User("Vendas"), (Rights{true, false, false, false, false, false}));
        EXPECT_EQ(l.User("y"), (Rights{false, false, true, false, false, false}));
        EXPECT_EQ(l.User("go"), (Rights{false, false, false, true, false, true}));  // group's
        EXPECT_EQ(l.User("nenhuma"), std::nullopt);
        l.perms.Simplify();
    }
    Rights r{};
    EXPECT_FALSE(l.perms.OfGroup("Vendas", r));
    EXPECT_TRUE(l.perms.OfGroup("cm", r));
    EXPECT_EQ(r, (Rights{true, false, false, false, true, false}));
}

// With nothing loaded only the administrator, in any case, holds rights.
TEST(PermissionMembers, AdministratorHoldsEveryRightOthersNoneWithoutEntries) {
    auto s = kvlSERV::Create();
    for (bool sa : {true, false}) {
        s->UID = sa ? "Sa" : "u1";
        std::array<Variant, 6> v;
        v.fill(Variant("antes"));
        EXPECT_EQ(s->TabelaPerm("cm", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), sa);
        for (const Variant& right : v) EXPECT_EQ(right, Variant(sa));
        v[0] = Variant("antes");
        EXPECT_EQ(s->TabelaPermGrupo("cm", &v[0]), sa);
        EXPECT_EQ(v[0], sa ? Variant(true) : Variant("antes"));  // untouched without an entry
    }
}

class Permissions : public CatalogBackendTest {
  protected:
    void TearDown() override {
        if (IsPostgres() && session->Aberto)
            session->Exec("DROP ROLE IF EXISTS " + user + ", " + group);
        CatalogBackendTest::TearDown();
    }
    std::string user = "kvl_u" + std::to_string(getpid()),
                group = "kvl_g" + std::to_string(getpid());
};

TEST_P(Permissions, UserAndGroupRightsLoadedAtOpen) {
    Run("CREATE TABLE perm (sPERMuid varchar(64), sPERMemp varchar(255), sPERMopc varchar(40), "
        "sPERMperm varchar(20))");
    if (IsPostgres()) {  // a login in a group role of this process
        Run("DROP ROLE IF EXISTS " + user + ", " + group);
        Run("CREATE ROLE " + group + " NOLOGIN");
        Run("CREATE ROLE " + user + " LOGIN IN ROLE " + group);
    } else {
        group.clear();  // no user catalogue: the group is empty, its rows the empty owner's
    }
    // The options' rights tell each of the six rights apart.
    for (auto [owner, db, code, letters] :
         {std::array{user, std::string(), std::string("cm"), std::string("c")},
          {group, "", "cm", "al"},
          {user, session->DB, "y", "cng"},             // this database's
          {group, "", "go", "gel"},                    // the group's alone
          {user, "outra", "z", "a"},                   // another database's
          {std::string("kvl_alheio"), "", "w", "a"}})  // someone else's
        Run("INSERT INTO perm VALUES ('" + owner + "', '" + db + "', '" + code + "', '" + letters +
            "')");
    session->TabelaDePerm = "perm";
    session->UID = user;
    session->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                  session->Login);
    ASSERT_TRUE(session->Aberto);
    EXPECT_EQ(session->Grupo, group);
    // On SQLite the failed group query was reported like any failed command.
    EXPECT_EQ(dialogs->asked.empty(), IsPostgres());
    for (auto [code, rights] : {std::pair{"CM", Rights{true, true, false, false, false, true}},
                                std::pair{"y", Rights{false, true, true, true, false, false}},
                                std::pair{"go", Rights{false, false, false, true, true, true}},
                                std::pair{"z", Rights{}}, std::pair{"w", Rights{}}}) {
        EXPECT_EQ(session->TabelaPerm(code), rights != Rights{}) << code;
        Rights single{session->TabelaPermTemAcesso(code),     session->TabelaPermTemConsulta(code),
                      session->TabelaPermTemInserção(code),   session->TabelaPermTemAlteração(code),
                      session->TabelaPermTemEliminação(code), session->TabelaPermTemListagem(code)};
        EXPECT_EQ(single, rights) << code;
    }
    EXPECT_TRUE(session->TabelaPermGrupo("cm"));
    EXPECT_FALSE(session->TabelaPermGrupo("y"));
    // Only tagged menu items are switched, by the access right, not any right; yet every
    // control's tag is read.
    auto window = std::make_shared<FakeWindow>("Principal", 0, 0, 1, 1);
    auto granted = std::make_shared<FakeControl>("cm", true);
    auto withoutAccess = std::make_shared<FakeControl>("y", true);
    auto untagged = std::make_shared<FakeControl>("", true);
    auto button = std::make_shared<FakeControl>("cm", false);
    window->controls = {granted, withoutAccess, untagged, button};
    session->TabelaPermVerifica(AsVariant(window));
    EXPECT_EQ(granted->enabled, true);
    EXPECT_EQ(withoutAccess->enabled, false);
    EXPECT_FALSE(untagged->enabled || button->enabled);
    EXPECT_EQ(button->tagReads, 1);
    window->controls = {granted, nullptr};
    EXPECT_EQ(ErrorOf([&] { session->TabelaPermVerifica(AsVariant(window)); }), kObjectNotSet);
}

KVL_BACKENDS(Permissions);

}  // namespace
