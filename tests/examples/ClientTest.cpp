// kvl-moradas on a fresh embedded sample database, as a new user starts it: the window, its
// lists in the user's order, the edit form laid out from the field properties and titled from
// the field dictionary, saving and deleting, closing; a database made before, and PostgreSQL.

#include <QDoubleValidator>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "ClientSession.h"
#include "Databases.h"
#include "Environment.h"
#include "MainWindow.h"
#include "PostgresLogin.h"
#include "QtFixture.h"
#include "SampleDatabase.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace {

using moradas::MainWindow;

// The user's locale for the length of a test.
class ScopedLocale {
  public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(was_); }

  private:
    QLocale was_;
};

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
    QLineEdit* Field(const std::string& name) { return Find<QLineEdit>(("fld_" + name).c_str()); }
    // The label the form shows beside a field.
    QString Label(const std::string& name) {
        auto* form = static_cast<QFormLayout*>(Find<QWidget>("frmRua")->layout());
        auto* label =
            qobject_cast<QLabel*>(form->labelForField(Find<QWidget>(("fld_" + name).c_str())));
        return label ? label->text() : "(none)";
    }
    void Choose(const char* municipality) {
        auto* combo = Find<QComboBox>("cboConcelho");
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(municipality)));
    }
    void ChooseIn(const char* list, const char* entry) {
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
    std::vector<std::string> Streets() { return Column(1); }
    std::string One(const std::string& sql) {
        auto r = session->Exec(sql);
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    }
    // A new street of the chosen municipality's first parish, saved; its key.
    std::string SaveNewStreet(const char* name) {
        window->NewStreet();
        Field("nome")->setText(QString::fromUtf8(name));
        ChooseIn("fld_tipo", "Rua");
        Find<QComboBox>("fld_freguesia")->setCurrentIndex(0);
        window->SaveStreet();
        return window->ChosenStreet();
    }

    kvltest::ScopedEnvironment env;
    std::filesystem::path data;
    std::shared_ptr<kvltest::ScriptedDialogs> dialogs =
        std::make_shared<kvltest::ScriptedDialogs>();
    std::shared_ptr<kvl::kvlSERV> session;
    std::unique_ptr<MainWindow> window;
};

TEST_F(Client, StartsOnAFreshSampleDatabaseWithItsListsInTheUsersOrder) {
    Start();
    auto* combo = Find<QComboBox>("cboConcelho");
    std::vector<std::string> municipalities;
    for (int k = 0; k < combo->count(); ++k)
        municipalities.push_back(combo->itemText(k).toStdString());
    EXPECT_EQ(municipalities,
              (std::vector<std::string>{"Braga", "Coimbra", "Évora", "Lisboa", "Porto"}));
    Choose("Évora");  // the codes follow their names into the user's order
    EXPECT_EQ(window->windowTitle(), "Moradas (Évora)");
    EXPECT_EQ(Streets(), (std::vector<std::string>{"Praça do Giraldo", "Rua de Serpa Pinto"}));
    // The tables the rights and window places are kept in, with the sample user's rights.
    EXPECT_EQ(One("SELECT sPERMperm FROM kvlPERM WHERE sPERMuid = 'visitante'"), "bf");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPOS"), "0");

    window->close();
    window.reset();
    session->Fecha();
    EXPECT_FALSE(session->Aberto);
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(Client, TheEditFormIsLaidOutFromTheFieldPropertiesAndTitledFromTheDictionary) {
    Start();
    struct Case {
        const char* field;
        const char* title;
        int maxLength;           // text fields
        double least, greatest;  // numeric fields
    };
    for (const Case& c :
         {Case{"nome", "Nome", 80, 0, 0}, Case{"codigo_postal", "Código postal", 8, 0, 0},
          Case{"comprimento", "Comprimento (m)", 0, -3.4e27, 3.4e27}}) {
        QLineEdit* edit = Field(c.field);
        ASSERT_TRUE(edit);
        EXPECT_EQ(Label(c.field), QString::fromUtf8(c.title));
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
    EXPECT_EQ(Label("tipo"), "Tipo");
    EXPECT_EQ(Label("freguesia"), "Freguesia");
    const std::vector<std::string> headings = {"Tipo", "Nome", "Freguesia", "Comprimento (m)",
                                               "Código postal"};
    auto* grid = Find<QTableWidget>("grdRuas");
    for (int c = 0; c < grid->columnCount(); ++c)
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text().toStdString(), headings.at(c));
}

TEST_F(Client, ANewStreetIsCheckedGetsItsKeyFromTheDatabaseAndIsChangedAndDeleted) {
    const ScopedLocale portuguese(QLocale(QLocale::Portuguese, QLocale::Portugal));
    Start();
    Choose("Braga");
    window->NewStreet();
    ChooseIn("fld_tipo", "Rua");
    Find<QComboBox>("fld_freguesia")->setCurrentIndex(0);
    window->SaveStreet();
    ASSERT_EQ(dialogs->asked.size(), 1u) << "a street without its name is refused";
    EXPECT_EQ(dialogs->asked[0].style, 48) << "OK with a warning, never Retry";
    EXPECT_NE(dialogs->asked[0].text.find("«Nome»"), std::string::npos) << dialogs->asked[0].text;
    Field("nome")->setText("Rua d'Ouro");
    Field("comprimento")->setText("abc");
    window->SaveStreet();
    ASSERT_EQ(dialogs->asked.size(), 2u) << "a number that does not read is refused";
    EXPECT_NE(dialogs->asked[1].text.find("«Comprimento (m)»"), std::string::npos);
    EXPECT_EQ(One("SELECT count(*) FROM ruas"), "17") << "nothing was written";

    // The user's notation in the form, the list and back; the key the database gave.
    Field("comprimento")->setText("142,5");
    window->SaveStreet();
    EXPECT_EQ(Streets(), (std::vector<std::string>{"Beco do Forno", "Rua d'Ouro", "Rua do Souto"}));
    EXPECT_EQ(window->ChosenStreet(), "18") << "the saved street is chosen again";
    EXPECT_EQ(Column(3)[1], "142,5");
    EXPECT_EQ(Field("comprimento")->text(), "142,5");
    EXPECT_EQ(One("SELECT comprimento || '/' || tipo FROM ruas WHERE id = 18"), "142.5/R");

    Field("codigo_postal")->setText("4700-001");
    window->SaveStreet();
    EXPECT_EQ(One("SELECT count(*) || ' ' || codigo_postal FROM ruas WHERE nome = 'Rua d''Ouro'"),
              "1 4700-001")
        << "saved again through its key";

    dialogs->answers = {kvl::kNo, kvl::kYes};
    window->DeleteStreet();
    EXPECT_EQ(Streets().size(), 3u) << "No keeps the street";
    window->DeleteStreet();
    EXPECT_EQ(Streets(), (std::vector<std::string>{"Beco do Forno", "Rua do Souto"}));
    EXPECT_EQ(SaveNewStreet("Rua Nova"), "19") << "a deleted street's key is not given again";
    EXPECT_EQ(dialogs->asked.size(), 4u);
}

// A database file made before the permission, position and field-title tables were part of the
// sample, and before its streets' keys were declared AUTOINCREMENT.
TEST_F(Client, ASampleDatabaseMadeBeforeKeepsWorking) {
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
    EXPECT_EQ(session->UID, "visitante");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPERM"), "6");
    EXPECT_EQ(One("SELECT count(*) FROM kvlPOS"), "0");
    EXPECT_EQ(Label("codigo_postal"), "Código postal");
    Choose("Braga");
    EXPECT_EQ(SaveNewStreet("Rua Nova"), "18");
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
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

// The client on PostgreSQL, started with the connection options by a login of a group role;
// the catalog views are the shipped ones.
class ClientOnPostgres : public Client {
  protected:
    void SetUp() override {
        Client::SetUp();
        KVL_REQUIRE_POSTGRES();
        ASSERT_NO_FATAL_FAILURE(login.Create());
    }
    void TearDown() override { Client::TearDown(); }

    kvltest::PostgresLogin login;
};

TEST_F(ClientOnPostgres, ANewStreetGetsItsKeyFromTheIdentityColumn) {
    std::vector<std::string> first = login.Options();
    first.push_back("--create-sample");
    ASSERT_NO_FATAL_FAILURE(Start(first));
    EXPECT_EQ(Label("codigo_postal"), "Código postal");
    Choose("Évora");
    EXPECT_EQ(SaveNewStreet("Rua Nova"), "18") << "after the sample's own keys";
    Field("codigo_postal")->setText("7000-001");
    window->SaveStreet();
    EXPECT_EQ(One("SELECT count(*) || ' ' || codigo_postal FROM ruas WHERE nome = 'Rua Nova' "
                  "GROUP BY codigo_postal"),
              "1 7000-001");
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(ClientOnPostgres, AFailedOpenGivesTheServersReasonAndNoOtherMessage) {
    std::vector<std::string> args = login.Options();
    args.back() = "not-the-password";
    std::ostringstream err;
    EXPECT_FALSE(moradas::OpenClientSession(moradas::ParseClientOptions(args), dialogs, err));
    EXPECT_NE(err.str().find("password authentication failed"), std::string::npos) << err.str();
    EXPECT_TRUE(dialogs->asked.empty()) << dialogs->asked.front().text;
}

TEST_F(ClientOnPostgres, ASampleThatCannotBeMadeWholeLeavesTheDatabaseAsItWas) {
    login.Run("CREATE TABLE " + login.schema + ".kvlPOS (x integer)");
    moradas::ClientOptions options = moradas::ParseClientOptions(login.Options());
    std::ostringstream err;
    EXPECT_FALSE(moradas::CreateSample(options, err));
    EXPECT_NE(err.str().find("kvlpos"), std::string::npos) << err.str();
    EXPECT_EQ(login.One("SELECT count(*) FROM pg_tables WHERE schemaname = '" + login.schema + "'"),
              "1")
        << "only the table that was there";
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
