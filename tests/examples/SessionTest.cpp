// kvl-moradas as a user meets it, on a virtual X server without a window manager: the program
// started, a municipality chosen, a street opened, edited and saved, and opened again after
// the next start; on the embedded SQLite database and on a PostgreSQL database that the
// program's --create-sample fills. MORADAS_SCREENSHOTS=DIR keeps the windows of the SQLite
// session there (docs/images holds the README's).

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <clocale>
#include <functional>

#include "Databases.h"
#include "Environment.h"
#include "PostgresLogin.h"
#include "SampleDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reached only by a program that hangs: every wait ends as soon as what it waits for is there.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr int kPatienceMs = 60000;

// Whether ready() holds before the patience runs out, asked again every tenth of a second.
bool Eventually(const std::function<bool()>& ready) {
    for (const auto end = Clock::now() + kPatience; Clock::now() < end; QThread::msleep(100))
        if (ready()) return true;
    return ready();
}

// An X server of this test on the first free display, without a window manager.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        // The server writes the display it took to standard output.
        xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        while (!xvfb_.canReadLine() && xvfb_.waitForReadyRead(kPatienceMs)) {
        }
        const QString number = QString::fromUtf8(xvfb_.readLine()).trimmed();
        if (!number.isEmpty()) name = ":" + number.toStdString();
    }
    ~VirtualDisplay() {
        xvfb_.terminate();
        xvfb_.waitForFinished(kPatienceMs);
    }

    std::string name;  // empty when the server did not start

  private:
    QProcess xvfb_;
};

QString Xdotool(const QStringList& args) {
    QProcess p;
    p.start("xdotool", args);
    p.waitForFinished(kPatienceMs);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

class Session : public testing::Test {
  protected:
    void SetUp() override {
        kvltest::UsePrivateOdbcIni();
        data = kvltest::TestDir() / "data";
        env.Set("XDG_DATA_HOME", data.string());
        ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
        env.Set("DISPLAY", display.name);
        env.Set("QT_QPA_PLATFORM", "xcb");
        // The program reads the user's notation from the locale; its messages, answered at
        // once, are printed to its standard output.
        env.Set("LC_ALL", "pt_PT.UTF-8");
        env.Set("KVL_MORADAS_ANSWERS", "");
        // The display has no desktop session: no bus of the user's is reached, and none is
        // started for the display.
        env.Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (data / "no-bus").string());
        // This process reads the clipboard and takes the screenshots on the same display.
        application = std::make_unique<QGuiApplication>(argc, argv);
        setlocale(LC_NUMERIC, "C");  // as the program does: values read plain from the drivers
    }

    void StartProgram(const std::vector<std::string>& args) {
        QStringList arguments;
        for (const std::string& a : args) arguments << QString::fromStdString(a);
        program.start(MORADAS_PROGRAM, arguments);
        ASSERT_TRUE(program.waitForStarted(kPatienceMs));
    }
    // The visible window whose title matches pattern, once there is one.
    QString Window(const QString& pattern) {
        QString id;
        Eventually([&] {
            id = Xdotool({"search", "--onlyvisible", "--name", pattern}).section('\n', 0, 0);
            return !id.isEmpty();
        });
        EXPECT_FALSE(id.isEmpty()) << "no window " << pattern.toStdString();
        return id;
    }
    QRect Geometry(const QString& window) {
        QRect r;
        for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
            const int value = line.section('=', 1).toInt();
            const QString name = line.section('=', 0, 0);
            if (name == "X") r.moveLeft(value);
            if (name == "Y") r.moveTop(value);
            if (name == "WIDTH") r.setWidth(value);
            if (name == "HEIGHT") r.setHeight(value);
        }
        return r;
    }
    // Keys typed into the window, as the keyboard sends them.
    void Keys(const QString& window, const QStringList& keys) {
        Xdotool({"windowfocus", "--sync", window});
        Xdotool(QStringList{"key", "--clearmodifiers"} + keys);
    }
    void Type(const QString& text) { Xdotool({"type", text}); }
    // Chooses Évora, third in the list, and the second of its streets, from the keyboard; the
    // edit form, which shows the street.
    QString OpenTheStreet(const QString& main) {
        Keys(main, {"Down", "Down"});
        Window("^Moradas \\(Évora\\)");
        Keys(main, {"Tab", "Down"});
        return Window("^Rua \\(Rua de Serpa Pinto\\)");
    }
    void ExpectAQuietEnd() {
        ASSERT_TRUE(program.waitForFinished(kPatienceMs));
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err;
        EXPECT_EQ(program.exitCode(), 0) << err;
        EXPECT_EQ(program.readAllStandardOutput().toStdString(), "") << "messages shown";
    }
    void Screenshot(const QString& window, const char* name) {
        const QString folder = qEnvironmentVariable("MORADAS_SCREENSHOTS");
        if (folder.isEmpty()) return;
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window.toULongLong());
        EXPECT_TRUE(shot.save(folder + "/" + name)) << name;
    }

    // The session: the program started with first, then with next; stored reads what the
    // database holds of the street.
    void UseTheClient(const std::vector<std::string>& first, const std::vector<std::string>& next,
                      const std::function<std::string(const char* field)>& stored,
                      bool screenshots) {
        ASSERT_NO_FATAL_FAILURE(StartProgram(first));
        QString main = Window("^Moradas \\(Braga\\)");
        const QString form = Window("^Rua$");
        EXPECT_FALSE(Geometry(main).intersects(Geometry(form))) << "the form covers the window";
        ASSERT_EQ(OpenTheStreet(main), form);
        Keys(form, {"Tab", "Tab", "Tab", "ctrl+a"});  // the length
        Type("262,5");
        Keys(form, {"Tab", "ctrl+a"});  // the postal code
        Type("7000-999");
        Keys(form, {"ctrl+s"});
        EXPECT_TRUE(Eventually([&] { return stored("comprimento") == "262.5"; }))
            << stored("comprimento");
        EXPECT_EQ(stored("codigo_postal"), "7000-999");
        Keys(main, {"ctrl+q"});
        ASSERT_NO_FATAL_FAILURE(ExpectAQuietEnd());

        ASSERT_NO_FATAL_FAILURE(StartProgram(next));
        main = Window("^Moradas \\(Braga\\)");
        const QString reopened = OpenTheStreet(main);
        // The length as the reopened form shows it, copied from its field.
        Keys(reopened, {"Tab", "Tab", "Tab", "ctrl+a", "ctrl+c"});
        QClipboard* clipboard = QGuiApplication::clipboard();
        EXPECT_TRUE(Eventually([&] { return clipboard->text() == "262,5"; }))
            << clipboard->text().toStdString();
        if (screenshots) {
            Screenshot(main, "moradas-main.png");
            Screenshot(reopened, "moradas-form.png");
        }
        Keys(main, {"ctrl+q"});
        ASSERT_NO_FATAL_FAILURE(ExpectAQuietEnd());
    }

    kvltest::ScopedEnvironment env;
    std::filesystem::path data;
    VirtualDisplay display;
    QProcess program;
    static inline int argc = 1;
    static inline char name[] = "moradas-session-test";
    static inline char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;  // goes before the display
};

TEST_F(Session, OnTheEmbeddedDatabase) {
    std::shared_ptr<kvl::kvlSERV> s;
    const auto stored = [&](const char* field) {
        if (!s) {
            s = kvl::kvlSERV::Create();
            s->Driver = kvlsession::kSampleDriver;
            s->DB = kvlsession::DefaultDatabasePath().string();
            s->Abre();
        }
        auto r = s->Exec(std::string("SELECT ") + field +
                         " FROM ruas WHERE nome = 'Rua de Serpa Pinto'");
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    };
    UseTheClient({}, {}, stored, true);
    if (s) s->Fecha();
}

TEST_F(Session, OnPostgreSQL) {
    KVL_REQUIRE_POSTGRES();
    kvltest::PostgresLogin login(false);  // with the sample's rights for every user
    ASSERT_NO_FATAL_FAILURE(login.Create());
    std::vector<std::string> first = login.Options();
    first.push_back("--create-sample");
    const auto stored = [&](const char* field) {
        return login.One(std::string("SELECT ") + field +
                         " FROM ruas WHERE nome = 'Rua de Serpa Pinto'");
    };
    UseTheClient(first, login.Options(), stored, false);
}

}  // namespace
