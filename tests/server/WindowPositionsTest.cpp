// Window positions end to end on SQLite and PostgreSQL: saved by one session, written at
// its close, read back by the next. The batches of several statements, which no real
// driver runs, and the close from the release of the last reference on the scripted layer.

#include <gtest/gtest.h>

#include "Databases.h"
#include "FakeWindow.h"
#include "Scripted.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

using namespace kvl;
using kvltest::AsVariant;
using kvltest::ErrorOf;
using kvltest::FakeWindow;

namespace {

struct Bounds {
    int32_t left, top, width, height;
    int16_t state;
    bool operator==(const Bounds&) const = default;
};

Bounds Of(const FakeWindow& w) {
    return {w.left, w.top, w.width, w.height, w.state};
}

class Positions : public kvltest::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        Run("CREATE TABLE pos (sPOSuser varchar(40), sPOSform varchar(80), iPOSleft int, "
            "iPOStop int, iPOSwidth int, iPOSheight int, iPOSstate int, sPOSobs varchar(200), "
            "sPOStabgrelha varchar(200), sPOSapp varchar(40))");
    }
    // A new session on the same database as this user and application.
    std::shared_ptr<kvlSERV> Open(const std::string& uid, const std::string& app) {
        auto s = kvlSERV::Create();
        s->Dialogos = dialogs;
        s->TabelaDePos = "pos";
        s->UID = uid;
        s->Aplicação = app;
        s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                session->Login);
        EXPECT_TRUE(s->Aberto);
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

TEST_P(Positions, SavedAtTheLastReleaseAndReadBackByTheNextSession) {
    auto first = Open("u1", "APP");
    auto clientes = std::make_shared<FakeWindow>("Clientes (12)", 120, 240, 9000, 6000);
    auto mapa = std::make_shared<FakeWindow>("Mapa", 50, 60, 800, 600, kWindowMinimized);
    auto fornecedores =
        std::make_shared<FakeWindow>("Fornecedores", 100, 50, 7000, 5000, kWindowMaximized);
    auto sobre = std::make_shared<FakeWindow>("Sobre", 10, 20, 500, 400);
    sobre->border = 3;
    Variant obs("O'Neil"), grid("a;'b'");
    for (auto& w : {clientes, mapa, fornecedores}) first->TabelaPosGrava(AsVariant(w));
    first->TabelaPosGrava(AsVariant(sobre), nullptr, &obs, &grid);
    EXPECT_FALSE(mapa->visible);  // saved windows are left hidden, in their state
    EXPECT_EQ(mapa->state, kWindowMinimized);
    first.reset();  // the close runs from the release of the last reference

    auto second = Open("u1", "APP");
    struct Case {
        std::shared_ptr<FakeWindow> window;
        Bounds expected;
    };
    auto sizedFixed = std::make_shared<FakeWindow>("Sobre", 0, 0, 300, 200);
    sizedFixed->border = 3;
    auto mdiParent = std::make_shared<FakeWindow>("Sobre", 0, 0, 300, 200);
    mdiParent->border = 3;
    mdiParent->mdiParent = true;
    for (const Case& c : {
             Case{std::make_shared<FakeWindow>("Clientes", 0, 0, 1, 1), {120, 240, 9000, 6000, 0}},
             // minimised: at 0, 0 with 3 times the width and 10 times the height
             Case{std::make_shared<FakeWindow>("Mapa", 0, 0, 1, 1), {0, 0, 2400, 6000, 1}},
             Case{std::make_shared<FakeWindow>("Fornecedores", 0, 0, 1, 1),
                  {100, 50, 7000, 5000, 2}},
             Case{sizedFixed, {10, 20, 300, 200, 0}},  // a fixed border keeps its size
             Case{mdiParent, {10, 20, 500, 400, 0}},
         }) {
        Variant readObs, readGrid;
        EXPECT_TRUE(second->TabelaPosLe(AsVariant(c.window), nullptr, &readObs, &readGrid))
            << c.window->caption;
        EXPECT_EQ(Of(*c.window), c.expected) << c.window->caption;
        if (c.window->caption == "Sobre") {
            EXPECT_EQ(readObs, obs);
            EXPECT_EQ(readGrid, grid);
        }
    }
    auto unknown = std::make_shared<FakeWindow>("Desconhecida", 1, 2, 3, 4);
    EXPECT_FALSE(second->TabelaPosLe(AsVariant(unknown)));
    EXPECT_EQ(Of(*unknown), (Bounds{1, 2, 3, 4, 0}));
    EXPECT_EQ(Column("SELECT sPOSform FROM pos WHERE sPOSform LIKE 'Cli%'"),
              std::vector<std::string>{"Clientes"});
}

TEST_P(Positions, WindowKeyIsTheTitleBeforeItsParenthesisCutAt80Characters) {
    auto s = Open("u1", "APP");
    std::string eighty = "Relatório " + std::string(70, 'x');
    auto w = std::make_shared<FakeWindow>(eighty + std::string(20, 'y'), 5, 6, 70, 80);
    s->TabelaPosGrava(AsVariant(w));
    Variant title("  Clientes (3)");
    s->TabelaPosGrava(AsVariant(w), &title);
    EXPECT_EQ(title, Variant("  Clientes "));  // the cut is written back
    s->Fecha();
    s = Open("u1", "APP");
    auto other = std::make_shared<FakeWindow>(eighty + "z", 0, 0, 1, 1);
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(other)));
    EXPECT_EQ(Of(*other), (Bounds{5, 6, 70, 80, 0}));
    EXPECT_EQ(Column("SELECT sPOSform FROM pos ORDER BY sPOSform"),
              (std::vector<std::string>{"Clientes", eighty}));
}

TEST_P(Positions, SharedRecordsAreReadButRemovedOnlyWithoutAnApplication) {
    for (const char* app : {"NULL", "''", "'APP'"})
        Run(std::string("INSERT INTO pos VALUES ('u1', 'Partilhada', 1, 2, 3, 4, 0, '', '', ") +
            app + ")");
    auto withApp = Open("u1", "APP");
    auto w = std::make_shared<FakeWindow>("Partilhada", 0, 0, 1, 1);
    EXPECT_TRUE(withApp->TabelaPosLe(AsVariant(w)));
    withApp->TabelaPosGrava(AsVariant(w));
    withApp->Fecha();
    EXPECT_EQ(Column("SELECT COALESCE(sPOSapp, 'null') FROM pos ORDER BY 1"),
              (std::vector<std::string>{"", "APP", "null"}));

    auto withoutApp = Open("u1", "");
    withoutApp->TabelaPosGrava(AsVariant(w));
    withoutApp->Fecha();
    EXPECT_EQ(Column("SELECT COALESCE(sPOSapp, 'null') FROM pos ORDER BY 1"),
              (std::vector<std::string>{"", "APP"}));
}

TEST_P(Positions, LongLoginFoundAndReplacedAfterReopening) {
    const std::string login(45, 'l');
    for (int32_t left : {11, 22}) {
        auto s = Open(login, "APP");
        auto w = std::make_shared<FakeWindow>("Longa", 0, 0, 1, 1);
        EXPECT_EQ(s->TabelaPosLe(AsVariant(w)), left == 22);
        w->left = left;
        s->TabelaPosGrava(AsVariant(w));
    }
    EXPECT_EQ(Column("SELECT sPOSuser FROM pos"), std::vector<std::string>{std::string(40, 'l')});
    EXPECT_EQ(Column("SELECT iPOSleft FROM pos"), std::vector<std::string>{"22"});
}

TEST_P(Positions, OneStatementPerRunWithoutBatches) {
    auto s = Open("u1", "APP");
    for (int i = 1; i <= 11; ++i)
        s->TabelaPosGrava(
            AsVariant(std::make_shared<FakeWindow>("J" + std::to_string(i), i, 0, 1, 1)));
    s->Log = true;
    for (int pass = 0; pass < 2; ++pass) {  // the flags stay: a second write is the same
        int32_t before = s->Logs(-1).ToInt32();
        s->TabelaPosGravaTabela(true);
        auto log = kvltest::LogEntries(*s, before);
        EXPECT_EQ(std::ranges::count_if(log, [](auto& e) { return e.starts_with("ActCom"); }), 22);
        EXPECT_EQ(Column("SELECT count(*) FROM pos"), std::vector<std::string>{"11"});
    }
    EXPECT_EQ(s->Stack(), 1);  // every run gave its slot back
}

TEST_P(Positions, ActRereadsOneRecordUnderItsFormerTitle) {
    Run("INSERT INTO pos VALUES ('u1', 'Novo', 7, 8, 9, 10, 2, 'o', 'g', 'APP')");
    auto s = Open("u1", "APP");
    auto w = std::make_shared<FakeWindow>("Antigo", 1, 1, 1, 1);
    s->TabelaPosGrava(AsVariant(w));
    Variant title("Novo (2)"), former("Antigo");
    EXPECT_TRUE(s->TabelaPosAct(AsVariant(w), &title, &former));
    EXPECT_FALSE(s->TabelaPosLe(AsVariant(w)));  // "Antigo" became "Novo"
    Variant obs;
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(w), &title, &obs));
    EXPECT_EQ(Of(*w), (Bounds{7, 8, 9, 10, 2}));
    EXPECT_EQ(obs, Variant("o"));
    Variant missing("Nenhum");
    EXPECT_FALSE(s->TabelaPosAct(AsVariant(w), &missing));
    s->Fecha();  // the re-read record was not changed: nothing written
    EXPECT_EQ(Column("SELECT count(*) FROM pos"), std::vector<std::string>{"1"});
}

TEST_P(Positions, CacheHoldsMoreThan32767Records) {
    Run("INSERT INTO pos (sPOSuser, sPOSform, iPOSleft, iPOStop, iPOSwidth, iPOSheight, "
        "iPOSstate, sPOSapp) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 33000) SELECT 'u1', 'J' || i, i, 0, 1, 1, 0, 'APP' FROM n");
    auto s = Open("u1", "APP");
    auto last = std::make_shared<FakeWindow>("J33000", 0, 0, 1, 1);
    EXPECT_TRUE(s->TabelaPosLe(AsVariant(last)));
    EXPECT_EQ(last->left, 33000);
}

KVL_BACKENDS(Positions);

// A session on the scripted layer with a position table, user u1 and application APP.
struct ScriptedPositions : kvltest::ScriptedSession {
    ScriptedPositions() {
        server->TabelaDePos = "T";
        server->UID = "u1";
        server->Aplicação = "APP";
    }
    void Save(const std::string& caption, int32_t left = 120) {
        server->TabelaPosGrava(
            AsVariant(std::make_shared<FakeWindow>(caption, left, 240, 9000, 6000)));
    }
};

const std::string kClientes =
    "delete FROM T WHERE sPOSuser='u1' AND sPOSform='Clientes' AND ( sPOSapp='APP')insert into "
    "T (sPOSuser,sPOSform,iPOSleft,iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,sPOStabgrelha,"
    "sPOSapp) values ('u1','Clientes',120,240,9000,6000,0,'','', 'APP') ";

TEST(PositionBatches, ElevenEntriesInTwoRunsAtTheCloseWithSqlMix) {
    ScriptedPositions s;
    for (int i = 1; i <= 10; ++i) s.Save("J" + std::to_string(i), i);
    s.Save("Clientes");
    s.server->SqlMix = true;
    s.server->Fecha();
    ASSERT_EQ(s.odbc->executed.size(), 2u);
    EXPECT_EQ(StrConta(s.odbc->executed[0], "delete FROM T"), 10);
    EXPECT_TRUE(s.odbc->executed[0].starts_with(
        "delete FROM T WHERE sPOSuser='u1' AND sPOSform='J1' AND ( sPOSapp='APP')insert"));
    EXPECT_EQ(s.odbc->executed[1], kClientes);
}

TEST(PositionBatches, LastReleaseWritesOnTheBaseSlotAndFreesEverything) {
    ScriptedPositions s;
    s.Save("Clientes");
    s.Save("Outra");
    auto odbc = s.odbc;
    s.server.reset();
    EXPECT_EQ(odbc->executed.size(), 4u);         // one statement per run without SqlMix
    EXPECT_EQ(odbc->Count("DriverConnect"), 1u);  // no slot left taken between runs
    EXPECT_EQ(odbc->LiveHandles(), 0u);
    EXPECT_EQ(odbc->misuses, 0);
}

TEST(PositionBatches, SizesBeyond16BitsAreAnOverflowAndNothingIsWritten) {
    for (auto [width, height, state] :
         {std::tuple{40000, 10, kWindowNormal}, std::tuple{100, 4000, kWindowMinimized}}) {
        ScriptedPositions s;
        auto w = std::make_shared<FakeWindow>("Larga", 0, 0, width, height, state);
        EXPECT_EQ(ErrorOf([&] { s.server->TabelaPosGrava(AsVariant(w)); }), kOverflow);
        EXPECT_EQ(w->state, state);
        s.server->TabelaPosGravaTabela(true);
        EXPECT_TRUE(s.odbc->executed.empty());
    }
}

TEST(PositionBatches, ActWithoutAPositionTableRunsNothing) {
    ScriptedPositions s;
    s.server->TabelaDePos = "";
    auto w = std::make_shared<FakeWindow>("Clientes", 0, 0, 1, 1);
    EXPECT_FALSE(s.server->TabelaPosAct(AsVariant(w)));
    EXPECT_TRUE(s.odbc->executed.empty());
}

TEST(PositionBatches, ObservationOnlyAndQuotedValues) {
    ScriptedPositions s;
    s.server->UID = "d'Ávila";
    s.server->Aplicação = "";
    auto w = std::make_shared<FakeWindow>("O'Neil", 5, 5, 5, 5);
    Variant obs("nota 'x'");
    s.server->TabelaPosGrava(AsVariant(w), nullptr, &obs, nullptr, std::nullopt, true);
    EXPECT_TRUE(w->visible);  // only the observation: the window is not touched
    s.server->TabelaPosGravaTabela();
    EXPECT_EQ(s.odbc->executed,
              std::vector<std::string>{
                  "delete FROM T WHERE sPOSuser='d''Ávila' AND sPOSform='O''Neil' AND ( "
                  "sPOSapp='' OR sPOSapp IS NULL)insert into T (sPOSuser,sPOSform,iPOSleft,"
                  "iPOStop,iPOSwidth,iPOSheight,iPOSstate,sPOSobs,sPOStabgrelha,sPOSapp) values "
                  "('d''Ávila','O''Neil',0,0,0,0,0,'nota ''x''','', '') "});
}

}  // namespace
