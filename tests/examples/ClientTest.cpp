// kvl-moradas on a fresh sample database, embedded and on PostgreSQL, offscreen: its lists in
// the user's order, the edit form laid out from the field properties and titled from the field
// dictionary, saving and deleting; a database made before; the command line; where the form
// opens.

#include <QDoubleValidator>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "CatalogViews.h"
#include "ClientSession.h"
#include "Databases.h"
#include "Environment.h"
#include "FormPlacement.h"
#include "MainWindow.h"
#include "QtFixture.h"
#include "SampleDatabase.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace {

// The client on a fresh embedded sample database, or on PostgreSQL in a schema of this test
// process at the head of its search path, with the shipped catalog views at its end.
class Client : public kvltest::QtTest<kvltest::CatalogBackendTest> {
  protected:
    void SetUp() override {
        kvltest::UsePrivateOdbcIni();
        static int n = 0;
        env.Set("XDG_DATA_HOME", (kvltest::TestDir() / ("data" + std::to_string(++n))).string());
        if (IsPostgres()) CatalogBackendTest::SetUp();
    }
    void TearDown() override {
        window.reset();
        if (client) client->Fecha();
        QLocale::setDefault(locale);
        CatalogBackendTest::TearDown();
    }

    // The client started; on PostgreSQL with the connection options, making the sample first.
    void Start(std::vector<std::string> args = {}) {
        if (IsPostgres())
            args.insert(args.end(),
                        {"--connect", session->Login, "--uid", session->UID, "--create-sample"});
        std::ostringstream err;
        const moradas::ClientOptions options = moradas::ParseClientOptions(args);
        ASSERT_TRUE(!options.createSample || moradas::CreateSample(options, err)) << err.str();
        client = moradas::OpenClientSession(options, dialogs, err);
        ASSERT_TRUE(client) << err.str();
        window = std::make_unique<moradas::MainWindow>(client);
        window->show();
        QApplication::processEvents();
    }
    // Runs commands, which must succeed, on the embedded sample database before the start.
    void ChangeTheSample(const std::vector<std::string>& commands) {
        const std::string file = kvlsession::DefaultDatabasePath().string();
        kvlsession::EnsureSampleDatabase(file);
        session->Abre(std::nullopt, file, std::nullopt, std::nullopt, kvlsession::kSampleDriver);
        for (const std::string& sql : commands) Run(sql);
    }
    template <class W>
    W* Find(const char* name) {
        auto* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Field(const std::string& name) { return Find<QLineEdit>(("fld_" + name).c_str()); }
    // The label the form shows beside a field.
    QString Label(const std::string& name) {
        auto* form = static_cast<QFormLayout*>(Find<QWidget>("frmRua")->layout());
        auto* label = qobject_cast<QLabel*>(form->labelForField(Field(name)));
        return label ? label->text() : "(none)";
    }
    void Choose(const char* entry, const char* list = "cboConcelho") {
        auto* combo = Find<QComboBox>(list);
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(entry)));
    }
    // The texts of a column of the street table.
    std::vector<std::string> Column(int c) {
        auto* grid = Find<QTableWidget>("grdRuas");
        std::vector<std::string> texts;
        for (int row = 0; row < grid->rowCount(); ++row)
            texts.push_back(grid->item(row, c)->text().toStdString());
        return texts;
    }
    // The first value of the query's first row, through the client's session once it started.
    std::string One(const std::string& sql) {
        auto r = (client ? client : session)->Exec(sql);
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    }
    // A new street of the chosen municipality's first parish, saved; its key.
    std::string SaveNewStreet(const char* name) {
        window->NewStreet();
        Field("nome")->setText(QString::fromUtf8(name));
        Choose("Rua", "fld_tipo");
        Find<QComboBox>("fld_freguesia")->setCurrentIndex(0);
        window->SaveStreet();
        return window->ChosenStreet();
    }

    kvltest::ScopedEnvironment env;
    const QLocale locale;                  // the user's, put back after each test
    std::shared_ptr<kvl::kvlSERV> client;  // the client's own session
    std::unique_ptr<moradas::MainWindow> window;
};

TEST_P(Client, StartsOnAFreshSampleDatabaseWithItsListsInTheUsersOrderAndItsFormLaidOut) {
    Start();
    auto* combo = Find<QComboBox>("cboConcelho");
    QStringList municipalities;
    for (int k = 0; k < combo->count(); ++k) municipalities << combo->itemText(k);
    EXPECT_EQ(municipalities.join(", "), "Braga, Coimbra, Évora, Lisboa, Porto");
    Choose("Évora");  // the codes follow their names into the user's order
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Praça do Giraldo", "Rua de Serpa Pinto"}));
    EXPECT_EQ(One("SELECT sPERMperm FROM kvlPERM WHERE sPERMuid = 'visitante'"), "bf");
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;

    // The edit form laid out from the field properties and titled from the dictionary.
    const std::pair<const char*, const char*> titles[] = {
        {"nome", "Nome"}, {"codigo_postal", "Código postal"}, {"comprimento", "Comprimento (m)"}};
    for (const auto& [field, title] : titles) {
        EXPECT_EQ(Label(field), QString::fromUtf8(title));
        const kvl::Variant props =
            client->CamposPropsInfo("ruas", std::nullopt, kvl::Variant(field));
        EXPECT_EQ(Field(field)->toolTip().toStdString(), props.array().At({12, 1}).ToString());
    }
    EXPECT_EQ(Field("nome")->maxLength(), 80);
    EXPECT_EQ(Field("codigo_postal")->maxLength(), 8);
    auto* validator = qobject_cast<const QDoubleValidator*>(Field("comprimento")->validator());
    ASSERT_TRUE(validator);
    EXPECT_EQ(std::make_pair(validator->bottom(), validator->top()),
              std::make_pair(-3.4e27, 3.4e27));
    auto* grid = Find<QTableWidget>("grdRuas");
    QStringList headings;
    for (int c = 0; c < grid->columnCount(); ++c) headings << grid->horizontalHeaderItem(c)->text();
    EXPECT_EQ(headings.join(", "), "Tipo, Nome, Freguesia, Comprimento (m), Código postal");
}

TEST_P(Client, ANewStreetIsCheckedGetsItsKeyFromTheDatabaseAndIsChangedAndDeleted) {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    Start();
    Choose("Braga");
    SaveNewStreet("");
    ASSERT_EQ(dialogs->asked.size(), 1u) << "a street without its name is refused";
    EXPECT_EQ(dialogs->asked[0].style, 48) << "OK with a warning, never Retry";
    EXPECT_NE(dialogs->asked[0].text.find("«Nome»"), std::string::npos) << dialogs->asked[0].text;
    Field("nome")->setText("Rua d'Ouro");
    Field("comprimento")->setText("abc");
    window->SaveStreet();
    ASSERT_EQ(dialogs->asked.size(), 2u) << "a number that does not read is refused";
    EXPECT_NE(dialogs->asked[1].text.find("«Comprimento (m)»"), std::string::npos);
    EXPECT_EQ(One("SELECT count(*) FROM ruas"), "17") << "nothing was written";

    // The user's notation in the list and plain in the database; the key the database gave
    // (AUTOINCREMENT on SQLite, the identity column on PostgreSQL).
    Field("comprimento")->setText("142,5");
    window->SaveStreet();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Beco do Forno", "Rua d'Ouro", "Rua do Souto"}));
    EXPECT_EQ(window->ChosenStreet(), "18") << "the saved street is chosen again";
    EXPECT_EQ(Column(3)[1], "142,5");
    EXPECT_EQ(One("SELECT comprimento || '/' || tipo FROM ruas WHERE id = 18"), "142.5/R");

    Field("codigo_postal")->setText("4700-001");
    window->SaveStreet();
    EXPECT_EQ(
        One("SELECT count(*) || ' ' || max(codigo_postal) FROM ruas WHERE nome = 'Rua d''Ouro'"),
        "1 4700-001")
        << "saved again through its key";

    dialogs->answers = {kvl::kNo, kvl::kYes};
    window->DeleteStreet();
    EXPECT_EQ(Column(1).size(), 3u) << "No keeps the street";
    window->DeleteStreet();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Beco do Forno", "Rua do Souto"}));
    EXPECT_EQ(SaveNewStreet("Rua Nova"), "19") << "a deleted street's key is not given again";
}

KVL_BACKENDS(Client);

// The embedded database's own history and faults.
class EmbeddedClient : public Client {};
INSTANTIATE_TEST_SUITE_P(Drivers, EmbeddedClient, testing::Values("sqlite"));

// A database file made before the permission, position and field-title tables were part of the
// sample, and before its streets' keys were declared AUTOINCREMENT.
TEST_P(EmbeddedClient, ASampleDatabaseMadeBeforeKeepsWorking) {
    ASSERT_NO_FATAL_FAILURE(ChangeTheSample({
        "DROP TABLE kvlPERM",
        "DROP TABLE kvlPOS",
        "DROP TABLE kvlCAMPOS",
        "DROP VIEW moradas",
        "ALTER TABLE ruas RENAME TO ruas_antes",
        "CREATE TABLE ruas (id INTEGER PRIMARY KEY, tipo VARCHAR(4) NOT NULL REFERENCES "
        "tipos_via(codigo), nome VARCHAR(80) NOT NULL, freguesia INTEGER NOT NULL REFERENCES "
        "freguesias(id), comprimento REAL, codigo_postal VARCHAR(8))",
        "INSERT INTO ruas SELECT * FROM ruas_antes",
        "DROP TABLE ruas_antes",
    }));
    Start({"--user", "visitante"});
    EXPECT_EQ(client->UID, "visitante");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPERM"), "6");
    EXPECT_EQ(Label("codigo_postal"), "Código postal");
    Choose("Braga");
    EXPECT_EQ(SaveNewStreet("Rua Nova"), "18");
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

// Only the group lookup, which fails on every SQLite start, is answered unseen: a missing
// permission table is shown.
TEST_P(EmbeddedClient, AnUnreadablePermissionTableIsShown) {
    ASSERT_NO_FATAL_FAILURE(ChangeTheSample({"DROP TABLE kvlPERM"}));
    Start();
    ASSERT_FALSE(dialogs->asked.empty());
    for (const auto& asked : dialogs->asked)  // the user's rows, the group's rows
        EXPECT_NE(asked.text.find("kvlPERM"), std::string::npos) << asked.text;
    EXPECT_FALSE(Find<QAction>("mnuGravar")->isEnabled()) << "no rights without the table";
}

class ClientOnPostgres : public Client {};
INSTANTIATE_TEST_SUITE_P(Drivers, ClientOnPostgres, testing::Values("postgres"));

TEST_P(ClientOnPostgres, ASampleThatCannotBeMadeWholeLeavesTheDatabaseAsItWas) {
    Run("CREATE TABLE " + schema + ".kvlPOS (x integer)");
    std::ostringstream err;
    EXPECT_FALSE(moradas::CreateSample(
        moradas::ParseClientOptions({"--connect", session->Login, "--uid", session->UID}), err));
    EXPECT_NE(err.str().find("kvlpos"), std::string::npos) << err.str();
    EXPECT_EQ(One("SELECT count(*) FROM pg_tables WHERE schemaname = '" + schema + "'"), "1")
        << "only the table that was there";
}

TEST(ClientOptions, TheClientTakesConnectionOptionsAndAUserForTheEmbeddedDatabase) {
    EXPECT_NO_THROW(moradas::ParseClientOptions({"--user=visitante", "--log"}));
    EXPECT_NO_THROW(moradas::ParseClientOptions({"--create-sample", "--driver", "PostgreSQL"}));
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--user", "ana", "--db", "x"}, {"--create-sample"}, {"-c", "SELECT 1"}})
        EXPECT_THROW(moradas::ParseClientOptions(wrong), kvlsession::UsageError) << wrong[0];
}

// Where the edit form opens without a saved place where the screen has no room on the right of
// the main window (the session under Xvfb sees it there).
TEST(FormPlacement, OnTheLeftOfTheMainWindowElseBelowItsMenuBar) {
    const QRect main(100, 50, 600, 400);
    const QSize form(300, 200);
    const int menuBarBottom = 50 + 24 - 1;
    const std::tuple<const char*, QRect, QPoint> cases[] = {
        {"room on the left only", QRect(-400, 0, 1110, 800), QPoint(-208, 50)},
        {"no room beside", QRect(0, 0, 800, 600), QPoint(108, 82)},
        {"a form wider than the screen", QRect(0, 0, 200, 600), QPoint(0, 82)},
    };
    for (const auto& [what, screen, place] : cases)
        EXPECT_EQ(moradas::FormPlace(main, menuBarBottom, form, screen), place) << what;
}

}  // namespace
