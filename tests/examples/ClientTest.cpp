// kvl-moradas on a fresh embedded sample database, as a new user starts it: the window, its
// lists, the edit form laid out from the field properties, saving and deleting, closing.

#include <QDoubleValidator>
#include <QLineEdit>
#include <QMenuBar>

#include "CatalogViews.h"
#include "ClientSession.h"
#include "Databases.h"
#include "Environment.h"
#include "MainWindow.h"
#include "QtFixture.h"
#include "SampleDatabase.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtWindow.h"

namespace {

using moradas::MainWindow;

class Client : public kvltest::QtTest {
  protected:
    void SetUp() override {
        kvltest::UsePrivateOdbcIni();
        static int n = 0;
        data = kvltest::TestDir() / ("data" + std::to_string(++n));
        env.Set("XDG_DATA_HOME", data.string());
    }
    void TearDown() override {
        window.reset();
        if (session) session->Fecha();
    }

    void Start(const std::vector<std::string>& args = {}) {
        std::ostringstream err;
        const moradas::ClientOptions options = moradas::ParseClientOptions(args);
        if (options.createSample) {
            ASSERT_TRUE(moradas::CreateSample(options, err)) << err.str();
        }
        session = moradas::OpenClientSession(options, dialogs, err);
        ASSERT_TRUE(session) << err.str();
        window = std::make_unique<MainWindow>(session);
        window->show();
        QApplication::processEvents();
    }
    // Runs commands, which must succeed, on the embedded sample database before the start.
    void ChangeTheSample(const std::vector<std::string>& commands) {
        const std::filesystem::path file = kvlsession::DefaultDatabasePath();
        kvlsession::EnsureSampleDatabase(file);
        auto s = kvl::kvlSERV::Create();
        s->Driver = kvlsession::kSampleDriver;
        s->DB = file.string();
        s->Abre();
        for (const std::string& sql : commands) ASSERT_FALSE(s->Exec(sql)->erro) << sql;
        s->Fecha();
    }
    template <class W>
    W* Find(const char* name) {
        auto* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Choose(const char* municipality) {
        auto* combo = Find<QComboBox>("cboConcelho");
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(municipality)));
    }
    // The street names the table shows.
    std::vector<std::string> Streets() {
        auto* grid = Find<QTableWidget>("grdRuas");
        std::vector<std::string> names;
        for (int row = 0; row < grid->rowCount(); ++row)
            names.push_back(grid->item(row, 1)->text().toStdString());
        return names;
    }
    std::string One(const std::string& sql) {
        auto r = session->Exec(sql);
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    }

    kvltest::ScopedEnvironment env;
    std::filesystem::path data;
    std::shared_ptr<kvltest::ScriptedDialogs> dialogs =
        std::make_shared<kvltest::ScriptedDialogs>();
    std::shared_ptr<kvl::kvlSERV> session;
    std::unique_ptr<MainWindow> window;
};

void SaveScreenshot(QWidget& window, const char* name) {
    const QString folder = qEnvironmentVariable("MORADAS_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    window.grab().save(folder + "/" + name);
}

TEST_F(Client, StartsOnAFreshSampleDatabaseAndClosesCleanly) {
    Start();
    auto* combo = Find<QComboBox>("cboConcelho");
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), "Braga");
    Choose("Lisboa");
    EXPECT_EQ(window->windowTitle(), "Moradas (Lisboa)");
    EXPECT_EQ(Streets().size(), 6u);
    std::vector<std::string> tags;
    for (QAction* a : window->menuBar()->actions().front()->menu()->actions())
        if (!a->property("Tag").toString().isEmpty())
            tags.push_back(a->property("Tag").toString().toStdString());
    EXPECT_EQ(tags, (std::vector<std::string>{"ruas.abrir", "ruas.novo", "ruas.gravar",
                                              "ruas.eliminar", "ruas.listar"}));
    // The tables the rights and window places are kept in, with the sample user's rights.
    EXPECT_EQ(One("SELECT sPERMperm FROM kvlPERM WHERE sPERMuid = 'visitante'"), "bf");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPOS"), "0");
    Find<QTableWidget>("grdRuas")->selectRow(0);
    SaveScreenshot(*window, "moradas-main.png");
    SaveScreenshot(*Find<QWidget>("frmRua"), "moradas-form.png");

    window->close();
    window.reset();
    session->Fecha();
    EXPECT_FALSE(session->Aberto);
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(Client, TheEditFormIsLaidOutFromTheFieldProperties) {
    Start();
    struct Case {
        const char* field;
        int maxLength;           // text fields
        double least, greatest;  // numeric fields
    };
    for (const Case& c : {Case{"nome", 80, 0, 0}, Case{"codigo_postal", 8, 0, 0},
                          Case{"comprimento", 0, -3.4e27, 3.4e27}}) {
        auto* edit = Find<QLineEdit>(("fld_" + std::string(c.field)).c_str());
        ASSERT_TRUE(edit);
        const kvl::Variant props =
            session->CamposPropsInfo("ruas", std::nullopt, kvl::Variant(c.field));
        EXPECT_EQ(edit->toolTip().toStdString(), props.array().At({12, 1}).ToString()) << c.field;
        if (c.maxLength) {
            EXPECT_EQ(edit->maxLength(), c.maxLength) << c.field;
        } else {
            auto* validator = qobject_cast<const QDoubleValidator*>(edit->validator());
            ASSERT_TRUE(validator) << c.field;
            EXPECT_EQ(validator->bottom(), c.least);
            EXPECT_EQ(validator->top(), c.greatest);
        }
    }
    EXPECT_TRUE(Find<QComboBox>("fld_tipo"));
    EXPECT_TRUE(Find<QComboBox>("fld_freguesia"));
}

TEST_F(Client, AStreetIsSavedChangedAndDeleted) {
    Start();
    Choose("Braga");
    window->NewStreet();
    Find<QLineEdit>("fld_nome")->setText("Rua d'Ouro");
    auto* type = Find<QComboBox>("fld_tipo");
    type->setCurrentIndex(type->findText("Rua"));
    Find<QComboBox>("fld_freguesia")->setCurrentIndex(0);
    Find<QLineEdit>("fld_comprimento")->setText("abc");
    window->SaveStreet();
    ASSERT_EQ(dialogs->asked.size(), 1u) << "a number that does not read is refused";
    EXPECT_EQ(dialogs->asked[0].style, kvl::kIconError);
    EXPECT_EQ(One("SELECT count(*) FROM ruas"), "17");

    Find<QLineEdit>("fld_comprimento")->setText("120");
    window->SaveStreet();
    EXPECT_EQ(Streets(), (std::vector<std::string>{"Beco do Forno", "Rua d'Ouro", "Rua do Souto"}));
    EXPECT_EQ(One("SELECT comprimento || '/' || tipo FROM ruas WHERE nome = 'Rua d''Ouro'"),
              "120.0/R");

    Find<QTableWidget>("grdRuas")->selectRow(1);
    EXPECT_EQ(Find<QLineEdit>("fld_nome")->text(), "Rua d'Ouro");
    EXPECT_EQ(Find<QLineEdit>("fld_comprimento")->text(), "120") << "no group separators";
    Find<QLineEdit>("fld_codigo_postal")->setText("4700-001");
    window->SaveStreet();
    EXPECT_EQ(One("SELECT codigo_postal FROM ruas WHERE nome = 'Rua d''Ouro'"), "4700-001");

    Find<QTableWidget>("grdRuas")->selectRow(1);
    dialogs->answers = {kvl::kNo, kvl::kYes};
    window->DeleteStreet();
    EXPECT_EQ(Streets().size(), 3u) << "No keeps the street";
    window->DeleteStreet();
    EXPECT_EQ(Streets(), (std::vector<std::string>{"Beco do Forno", "Rua do Souto"}));
    EXPECT_EQ(dialogs->asked.size(), 3u);
}

TEST_F(Client, AnOlderSampleDatabaseGainsThePermissionAndPositionTables) {
    ASSERT_NO_FATAL_FAILURE(ChangeTheSample({"DROP TABLE kvlPERM", "DROP TABLE kvlPOS"}));
    Start({"--user", "visitante"});
    EXPECT_EQ(session->UID, "visitante");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPERM"), "6");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPOS"), "0");
}

// Only the group lookup, which fails on every SQLite start, is answered unseen: a missing
// permission table is shown.
TEST_F(Client, AnUnreadablePermissionTableIsShown) {
    ASSERT_NO_FATAL_FAILURE(ChangeTheSample({"DROP TABLE kvlPERM"}));
    Start();
    ASSERT_FALSE(dialogs->asked.empty());
    for (const auto& asked : dialogs->asked)  // the user's rows, the group's rows
        EXPECT_NE(asked.text.find("kvlPERM"), std::string::npos) << asked.text;
    EXPECT_FALSE(Find<QAction>("mnuGravar")->isEnabled()) << "no rights without the table";
}

// Each window's place, per user: moved, closed and found there again at the next start;
// another user's windows open where they would for a new user.
TEST_F(Client, TheWindowsReopenWhereTheyWereClosed) {
    struct Place {
        std::vector<int32_t> main, form;
    };
    const auto placeNow = [&] {
        kvlqt::QtWindow main(window.get()), form(Find<QWidget>("frmRua"));
        return Place{{main.Left(), main.Top(), main.Width(), main.Height()},
                     {form.Left(), form.Top(), form.Width(), form.Height()}};
    };
    Start();
    const Place fresh = placeNow();
    kvlqt::QtWindow(window.get()).Move(140, 90, 700, 480);
    kvlqt::QtWindow(Find<QWidget>("frmRua")).Move(860, 120, 420, 360);
    window->close();
    window.reset();
    session->Fecha();
    for (const char* user : {"", "visitante", ""}) {
        Start(*user ? std::vector<std::string>{"--user", user} : std::vector<std::string>{});
        const Place place = placeNow();
        const Place expected = *user ? fresh : Place{{140, 90, 700, 480}, {860, 120, 420, 360}};
        EXPECT_EQ(place.main, expected.main) << user;
        EXPECT_EQ(place.form, expected.form) << user;
        window->close();  // saved again: a place restored and saved does not drift
        window.reset();
        session->Fecha();
    }
    EXPECT_TRUE(dialogs->asked.empty());
}

TEST_F(Client, AUserWithoutTheDeleteRightSeesTheOptionDisabled) {
    for (const bool visitor : {false, true}) {
        Start(visitor ? std::vector<std::string>{"--user", "visitante"}
                      : std::vector<std::string>{});
        EXPECT_EQ(Find<QAction>("mnuEliminar")->isEnabled(), !visitor);
        EXPECT_TRUE(Find<QAction>("mnuGravar")->isEnabled());
        window.reset();
        session->Fecha();
    }
}

// The client on PostgreSQL, started with the connection options by a login of a group role whose
// search path begins with a schema of this process; the catalog views are the shipped ones.
class ClientOnPostgres : public Client {
  protected:
    void SetUp() override {
        Client::SetUp();
        KVL_REQUIRE_POSTGRES();
        const std::string id = std::to_string(getpid());
        schema = "kvl_m" + id;
        user = "kvl_mu" + id;
        group = "kvl_mg" + id;
        admin->ComMsg = false;
        kvltest::Postgres::Configure(*admin);
        admin->Abre();
        ASSERT_TRUE(admin->Aberto) << admin->Login;
        Drop();
        for (const std::string& sql :
             {"CREATE SCHEMA " + schema, "CREATE ROLE " + group + " NOLOGIN",
              "CREATE ROLE " + user + " LOGIN PASSWORD '" + kPassword + "' IN ROLE " + group,
              "GRANT USAGE, CREATE ON SCHEMA " + schema + " TO " + group,
              "ALTER ROLE " + user + " SET search_path TO " + schema + ", dbo"})
            Run(sql);
        kvltest::ApplyCatalogViews(*admin, true);
    }
    void TearDown() override {
        Client::TearDown();
        if (admin->Aberto) Drop();
    }
    void Run(const std::string& sql) {
        auto r = admin->Exec(sql);
        ASSERT_FALSE(r->erro) << sql << ": " << r->ErroD;
    }
    void Drop() {
        admin->Exec("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
        admin->Exec("DROP ROLE IF EXISTS " + user);
        admin->Exec("DROP ROLE IF EXISTS " + group);
    }
    std::vector<std::string> UserOptions() {
        return {"--driver", "PostgreSQL", "--server", admin->Server, "--db",
                admin->DB,  "--uid",      user,       "--pwd",       kPassword};
    }

    static constexpr const char* kPassword = "kvl-moradas";
    std::shared_ptr<kvl::kvlSERV> admin = kvl::kvlSERV::Create();
    std::string schema, user, group;
};

TEST_F(ClientOnPostgres, TheGroupsRightsApplyAndTheWindowsReopenWhereTheyWereClosed) {
    std::vector<std::string> first = UserOptions();
    first.push_back("--create-sample");
    ASSERT_NO_FATAL_FAILURE(Start(first));
    // The group's rights; the login has none of its own: all but deleting and creating.
    for (const std::string& sql :
         {std::string("DELETE FROM kvlPERM"),
          "INSERT INTO kvlPERM VALUES ('" + group + "', '', 'ruas.abrir', 'ac'), ('" + group +
              "', '', 'ruas.gravar', 'ag'), ('" + group + "', '', 'ruas.eliminar', 'b')"})
        ASSERT_FALSE(session->Exec(sql)->erro) << session->ErroD;
    kvlqt::QtWindow(window.get()).Move(150, 70, 720, 500);
    kvlqt::QtWindow(Find<QWidget>("frmRua")).Move(880, 100, 400, 380);
    window->close();
    window.reset();
    session->Fecha();

    ASSERT_NO_FATAL_FAILURE(Start(UserOptions()));
    EXPECT_EQ(session->Grupo, group);
    EXPECT_TRUE(Find<QAction>("mnuGravar")->isEnabled());
    EXPECT_FALSE(Find<QAction>("mnuEliminar")->isEnabled());
    EXPECT_FALSE(Find<QAction>("mnuNovo")->isEnabled()) << "an option the group lacks";
    kvlqt::QtWindow main(window.get()), form(Find<QWidget>("frmRua"));
    EXPECT_EQ(std::vector<int32_t>({main.Left(), main.Top(), main.Width(), main.Height()}),
              std::vector<int32_t>({150, 70, 720, 500}));
    EXPECT_EQ(std::vector<int32_t>({form.Left(), form.Top(), form.Width(), form.Height()}),
              std::vector<int32_t>({880, 100, 400, 380}));
    EXPECT_EQ(One("SELECT count(*) FROM kvlPOS WHERE sPOSuser = '" + user + "'"), "2");
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(ClientOnPostgres, AFailedOpenGivesTheServersReasonAndNoOtherMessage) {
    std::vector<std::string> args = UserOptions();
    args.back() = "not-the-password";
    std::ostringstream err;
    EXPECT_FALSE(moradas::OpenClientSession(moradas::ParseClientOptions(args), dialogs, err));
    EXPECT_NE(err.str().find("password authentication failed"), std::string::npos) << err.str();
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(ClientOnPostgres, ASampleThatCannotBeMadeWholeLeavesTheDatabaseAsItWas) {
    Run("CREATE TABLE " + schema + ".kvlPOS (x integer)");
    moradas::ClientOptions options = moradas::ParseClientOptions(UserOptions());
    std::ostringstream err;
    EXPECT_FALSE(moradas::CreateSample(options, err));
    EXPECT_NE(err.str().find("kvlpos"), std::string::npos) << err.str();
    auto made = admin->Exec("SELECT count(*) FROM pg_tables WHERE schemaname = '" + schema + "'");
    ASSERT_TRUE(made->TemLinhas());
    EXPECT_EQ(made->Col(1).ToString(), "1") << "only the table that was there";
}

TEST(ClientOptions, TheClientTakesConnectionOptionsAndAUserForTheEmbeddedDatabase) {
    struct Case {
        std::vector<std::string> args;
        bool valid;
    };
    const Case cases[] = {
        {{}, true},
        {{"--user", "visitante"}, true},
        {{"--user=visitante", "--log"}, true},
        {{"--driver", "PostgreSQL", "--uid", "ana"}, true},
        {{"--user", "ana", "--db", "x"}, false},
        {{"--user"}, false},
        {{"--create-sample", "--driver", "PostgreSQL"}, true},
        {{"--create-sample"}, false},
        {{"-c", "SELECT 1"}, false},
        {{"--count"}, false},
    };
    for (const Case& c : cases) {
        bool valid = true;
        try {
            moradas::ParseClientOptions(c.args);
        } catch (const kvlsession::UsageError&) {
            valid = false;
        }
        EXPECT_EQ(valid, c.valid) << testing::PrintToString(c.args);
    }
}

}  // namespace
