// Per-option rights of a user and its group: the queries and the merging of the letters on
// a fake runner, the session's members on a closed session, and the load at open on SQLite
// and PostgreSQL (a real group role there, found through the shipped sysusers view).
// Window positions: the texts written and read on a fake runner, the window geometry on a
// closed session's cache, and one round trip on SQLite and PostgreSQL (saved by one
// session, written at its close, read back by the next).

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "../../kvl/services/Permissions.h"
#include "../../kvl/services/WindowPositions.h"
#include "CatalogViews.h"
#include "FakeRunner.h"
#include "FakeWindow.h"
#include "kvl/kvlRES.h"

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

TEST(PermissionService, UserDecidesTheGroupFillsWhatTheUserLeavesOpenAndTheAdministratorHoldsAll) {
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

    // With nothing loaded into the session only the administrator, in any case, holds rights.
    for (bool sa : {true, false}) {
        l.s->UID = sa ? "Sa" : "u1";
        std::array<Variant, 6> v;
        v.fill(Variant("antes"));
        EXPECT_EQ(l.s->TabelaPerm("cm", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), sa);
        for (const Variant& right : v) EXPECT_EQ(right, Variant(sa));
        v[0] = Variant("antes");
        EXPECT_EQ(l.s->TabelaPermGrupo("cm", &v[0]), sa);
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

using Bounds = std::tuple<int32_t, int32_t, int32_t, int32_t, int16_t>;  // left, top, w, h, state

Bounds Of(const FakeWindow& w) {
    return {w.left, w.top, w.width, w.height, w.state};
}
Bounds Of(const services::WindowPositions::Position* p) {  // none: all -1
    return p ? Bounds{p->left, p->top, p->width, p->height, p->state} : Bounds{-1, -1, -1, -1, -1};
}

std::shared_ptr<FakeWindow> Window(const std::string& caption, int32_t left = 0, int32_t top = 0,
                                   int32_t width = 1, int32_t height = 1,
                                   int16_t state = kWindowNormal) {
    return std::make_shared<FakeWindow>(caption, left, top, width, height, state);
}

const std::string kRead =
    "SELECT sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,sPOStabgrelha FROM "
    "T WHERE sPOSuser=";

// The service with a closed session holding the properties it reads: user u1 of APP.
class PositionService : public testing::Test {
  protected:
    PositionService() {
        s->TabelaDePos = "T";
        s->UID = "u1";
        s->Aplicação = "APP";
        s->Aberto = true;
    }
    ~PositionService() override { s->Aberto = false; }

    std::shared_ptr<kvlSERV> s = kvlSERV::Create();
    FakeRunner run;
    services::WindowPositions pos;
};

// Written with an application, the records round-trip on the real databases (Positions).
TEST_F(PositionService, UserCutAt40CharactersFormQuotedAndNoApplication) {
    s->UID = "d'Ávila" + std::string(40, 'l');
    s->Aplicação = "";
    const std::string user = "'d''Ávila" + std::string(33, 'l') + "'";
    pos.Load(run, *s);
    pos.Put({"O'Neil", -5, 6, 7, 8, kWindowMaximized, "", "", true});
    pos.Save(run, *s);
    EXPECT_EQ(run.queries,
              std::vector<std::string>{kRead + user + " AND (sPOSapp='' OR sPOSapp IS NULL)"});
    ASSERT_EQ(run.together.size(), 1u);
    EXPECT_EQ(run.together[0].at(0),
              "delete FROM T WHERE sPOSuser=" + user +
                  " AND sPOSform='O''Neil' AND ( sPOSapp='' OR sPOSapp IS NULL)");
    EXPECT_NE(run.together[0].at(1).find(") values (" + user + ",'O''Neil',"), std::string::npos);
}

TEST_F(PositionService, ReadAsStoredAndRereadUnderTheFormerTitleWithNothingToWrite) {
    run.answers = {FakeRunner::Rows({{"Antigo", "-120", "240", "9000", "6000", "2", "o", "g"},
                                     {"Texto", " 12.0", "7px", "", "x", "0", "", ""}}),
                   FakeRunner::Rows({{"Novo", "7", "8", "9", "10", "1", "p", "q"}})};
    pos.Load(run, *s);
    EXPECT_EQ(Of(pos.Find("Antigo")), (Bounds{-120, 240, 9000, 6000, 2}));
    EXPECT_EQ(pos.Find("Antigo")->obs + pos.Find("Antigo")->grid, "og");
    EXPECT_EQ(Of(pos.Find("Texto")), (Bounds{12, 7, 0, 0, 0}));  // a leading number, else 0

    EXPECT_TRUE(pos.Refresh(run, *s, "Novo", "Antigo"));
    EXPECT_FALSE(pos.Refresh(run, *s, "Nenhum", std::nullopt));  // no stored record
    EXPECT_EQ(run.queries, (std::vector<std::string>{
                               kRead + "'u1' AND (sPOSapp='APP' OR sPOSapp IS NULL)",
                               kRead + "'u1' AND sPOSform='Novo' AND ( sPOSapp='APP')",
                               kRead + "'u1' AND sPOSform='Nenhum' AND ( sPOSapp='APP')"}));
    EXPECT_FALSE(pos.Find("Antigo"));
    EXPECT_EQ(Of(pos.Find("Novo")), (Bounds{7, 8, 9, 10, 1}));
    EXPECT_FALSE(pos.Find("Nenhum"));
    pos.Save(run, *s);
    EXPECT_TRUE(run.together.empty());

    Table many(33000, {"", "1", "0", "1", "1", "0", "", ""});  // beyond a 16-bit count
    many.back()[0] = "J33000";
    run.answers = {FakeRunner::Rows(many)};
    pos.Load(run, *s);
    EXPECT_TRUE(pos.Find("J33000"));
}

TEST_F(PositionService, NothingRunsWithoutATableOrWhileClosed) {
    pos.Put({"J", 1, 1, 1, 1, 0, "", "", true});
    for (auto [table, open] : {std::pair{"", true}, std::pair{"T", false}}) {
        s->TabelaDePos = table;
        s->Aberto = open;
        pos.Load(run, *s);
        EXPECT_FALSE(pos.Refresh(run, *s, "J", std::nullopt));
        if (!open) break;
        pos.Save(run, *s);
    }
    EXPECT_TRUE(run.queries.empty() && run.together.empty());
}

// The session's members keep the cache without a database: a closed session is enough.
TEST(PositionMembers, TheWindowsGeometryKeyedByItsTitleAsTheBorderStyleAllows) {
    auto s = kvlSERV::Create();
    auto mapa = Window("Mapa", 50, 60, 800, 600, kWindowMinimized);
    Variant obs("o");
    s->TabelaPosGrava(AsVariant(mapa));
    s->TabelaPosGrava(AsVariant(Window("Sobre", 10, 20, 500, 400)), nullptr, &obs);
    EXPECT_FALSE(mapa->visible);  // left hidden, in its state
    EXPECT_EQ(mapa->state, kWindowMinimized);

    auto fixed = Window("Sobre", 0, 0, 300, 200), mdiParent = Window("Sobre", 0, 0, 300, 200);
    fixed->border = mdiParent->border = 3;
    mdiParent->mdiParent = true;  // which has no border style
    for (auto [window, expected] :
         {// minimised: at 0, 0 with 3 times the normal width and 10 times the height
          std::pair{Window("Mapa"), Bounds{0, 0, 2400, 6000, kWindowMinimized}},
          std::pair{fixed, Bounds{10, 20, 300, 200, 0}},  // a fixed border keeps its size
          std::pair{mdiParent, Bounds{10, 20, 500, 400, 0}}}) {
        Variant read;
        EXPECT_TRUE(s->TabelaPosLe(AsVariant(window), nullptr, &read)) << window->caption;
        EXPECT_EQ(Of(*window), expected) << window->caption;
        EXPECT_EQ(read, Variant(window->caption == "Sobre" ? "o" : ""));
    }

    // A size past 16 bits, or only the observation, leaves the saved position.
    s->TabelaPosGrava(AsVariant(Window("J", 1, 2, 3, 4)));
    for (auto w : {Window("J", 0, 0, 40000, 10), Window("J", 0, 0, 100, 4000, kWindowMinimized)}) {
        int16_t state = w->state;
        EXPECT_EQ(ErrorOf([&] { s->TabelaPosGrava(AsVariant(w)); }), kOverflow);
        EXPECT_EQ(w->state, state);
    }
    auto moved = Window("J", 9, 9, 9, 9);
    Variant note("nova"), readNote;
    s->TabelaPosGrava(AsVariant(moved), nullptr, &note, nullptr, std::nullopt, true);
    EXPECT_TRUE(moved->visible);  // only the observation: the window is not touched
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(moved), nullptr, &readNote));
    EXPECT_EQ(Of(*moved), (Bounds{1, 2, 3, 4, 0}));
    EXPECT_EQ(readNote, note);

    // The key: the title before its parenthesis, cut at 80 characters.
    std::string eighty = "Relatório " + std::string(70, 'x');
    s->TabelaPosGrava(AsVariant(Window(eighty + "yyy")));
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(Window(eighty + "z"))));
    auto unknown = Window(eighty.substr(0, eighty.size() - 1), 1, 2, 3, 4);  // left as it was
    EXPECT_FALSE(s->TabelaPosLe(AsVariant(unknown)));
    EXPECT_EQ(Of(*unknown), (Bounds{1, 2, 3, 4, 0}));
    Variant title("  Clientes (3)");
    s->TabelaPosGrava(AsVariant(Window("ignorada", 6)), &title);
    EXPECT_EQ(title, Variant("  Clientes "));  // the cut is written back
    auto w = Window("Clientes (outra)");
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(w)));
    EXPECT_EQ(w->left, 6);
}

class Positions : public BackendTest {};

TEST_P(Positions, SavedAtTheCloseAndReadBackByTheNextSession) {
    Run("CREATE TABLE pos (sPOSuser varchar(40), sPOSform varchar(80), iPOSleft int, iPOStop int, "
        "iPOSwidth int, iPOSheight int, iPOSstate int, sPOSobs varchar(200), sPOStabgrelha "
        "varchar(200), sPOSapp varchar(40))");
    // A record without an application is read by every application.
    Run("INSERT INTO pos VALUES ('u1', 'Partilhada', 1, 2, 3, 4, 0, '', '', NULL)");
    auto open = [&] {
        auto s = kvlSERV::Create();
        s->Dialogos = dialogs;
        s->TabelaDePos = "pos";
        s->UID = "u1";
        s->Aplicação = "APP";
        s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                session->Login);
        EXPECT_TRUE(s->Aberto);
        return s;
    };
    auto first = open();
    Variant obs("O'Neil, Mação"), grid("a;'b'");
    first->TabelaPosGrava(AsVariant(Window("Clientes (12)", -120, 240, 9000, 6000, 2)), nullptr,
                          &obs, &grid);
    first->TabelaPosGrava(AsVariant(Window("Outra")));
    first->TabelaPosGravaTabela(true);  // written now, and replaced again at the close
    EXPECT_EQ(first->Stack(), 1);       // every write gave its slot back
    first.reset();                      // the close runs from the release of the last reference

    std::vector<std::string> forms;
    for (auto r = session->Exec("SELECT sPOSform FROM pos ORDER BY 1"); r && r->TemLinhas();)
        forms.push_back(r->Col(1).ToString());
    EXPECT_EQ(forms, (std::vector<std::string>{"Clientes", "Outra", "Partilhada"}));

    auto second = open();
    auto clientes = Window("Clientes"), shared = Window("Partilhada");
    Variant readObs, readGrid;
    EXPECT_TRUE(second->TabelaPosLe(AsVariant(clientes), nullptr, &readObs, &readGrid));
    EXPECT_EQ(Of(*clientes), (Bounds{-120, 240, 9000, 6000, 2}));
    EXPECT_EQ(readObs, obs);
    EXPECT_EQ(readGrid, grid);
    EXPECT_TRUE(second->TabelaPosLe(AsVariant(shared)));
    EXPECT_EQ(Of(*shared), (Bounds{1, 2, 3, 4, 0}));
    EXPECT_TRUE(dialogs->asked.empty());
}

KVL_BACKENDS(Positions);

}  // namespace
