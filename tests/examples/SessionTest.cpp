// kvl-moradas as a user meets it, on a virtual X server without a window manager: the program
// started, a municipality chosen, a street opened, edited and saved, and opened again after
// the next start; on the embedded database and on a PostgreSQL schema that the program's
// --create-sample fills. MORADAS_SCREENSHOTS=DIR keeps the embedded session's windows there
// (docs/images holds the README's).

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <clocale>
#include <functional>
#include <map>

#include "CatalogViews.h"
#include "Environment.h"
#include "SampleDatabase.h"
#include "kvl/kvlRES.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reached only by a program that hangs: every wait ends as soon as what it waits for is there.
constexpr int kPatienceMs = 60000;

// Whether ready() holds before the patience runs out, asked again every tenth of a second.
bool Eventually(const std::function<bool()>& ready) {
    for (const auto end = Clock::now() + std::chrono::milliseconds(kPatienceMs); Clock::now() < end;
         QThread::msleep(100))
        if (ready()) return true;
    return ready();
}

// An X server of this test on the first free display, without a window manager.
struct VirtualDisplay {
    VirtualDisplay() {
        // The server writes the display it took to standard output.
        xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        while (!xvfb.canReadLine() && xvfb.waitForReadyRead(kPatienceMs)) {
        }
        const QString number = QString::fromUtf8(xvfb.readLine()).trimmed();
        if (!number.isEmpty()) name = ":" + number.toStdString();
    }
    ~VirtualDisplay() {
        xvfb.terminate();
        xvfb.waitForFinished(kPatienceMs);
    }

    QProcess xvfb;
    std::string name;  // empty when the server did not start
};

QString Xdotool(const QStringList& args) {
    QProcess p;
    p.start("xdotool", args);
    p.waitForFinished(kPatienceMs);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// On PostgreSQL the session of the fixture works in a schema of its own, with the catalog
// views, and reads back what the program stored there.
class Session : public kvltest::CatalogBackendTest {
  protected:
    void SetUp() override {
        if (IsPostgres()) CatalogBackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        kvltest::UsePrivateOdbcIni();
        const auto data = kvltest::TestDir() / "data";
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

    // The program started; its main window.
    QString StartProgram(bool createSample = false) {
        QStringList args;
        if (IsPostgres()) {
            args << "--connect" << QString::fromStdString(session->Login) << "--uid"
                 << QString::fromStdString(session->UID);
            if (createSample) args << "--create-sample";
        }
        program.start(MORADAS_PROGRAM, args);
        EXPECT_TRUE(program.waitForStarted(kPatienceMs));
        return Window("^Moradas \\(Braga\\)");
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
        std::map<QString, int> v;  // X, Y, WIDTH, HEIGHT
        for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n'))
            v[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        return QRect(v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]);
    }
    // Keys typed into the window, as the keyboard sends them.
    void Keys(const QString& window, const QStringList& keys) {
        Xdotool({"windowfocus", "--sync", window});
        Xdotool(QStringList{"key", "--clearmodifiers"} + keys);
    }
    // Chooses Évora, third in the list, and the second of its streets, from the keyboard; the
    // edit form, which shows the street.
    QString OpenTheStreet(const QString& main) {
        Keys(main, {"Down", "Down"});
        Window("^Moradas \\(Évora\\)");
        Keys(main, {"Tab", "Down"});
        return Window("^Rua \\(Rua de Serpa Pinto\\)");
    }
    // Ctrl+Q in the main window, and the program's end.
    void Quit(const QString& main) {
        Keys(main, {"ctrl+q"});
        ASSERT_TRUE(program.waitForFinished(kPatienceMs));
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err;
        EXPECT_EQ(program.exitCode(), 0) << err;
        EXPECT_EQ(program.readAllStandardOutput().toStdString(), "") << "messages shown";
    }
    void Screenshot(const QString& window, const char* name) {
        const QString folder = qEnvironmentVariable("MORADAS_SCREENSHOTS");
        if (folder.isEmpty() || IsPostgres()) return;
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window.toULongLong());
        EXPECT_TRUE(shot.save(folder + "/" + name)) << name;
    }

    // The street's length and postal code in the database; the embedded one's session is
    // closed at once.
    std::string Stored() {
        auto s = IsPostgres() ? session : kvl::kvlSERV::Create();
        if (!IsPostgres())
            s->Abre(std::nullopt, kvlsession::DefaultDatabasePath().string(), std::nullopt,
                    std::nullopt, kvlsession::kSampleDriver);
        auto r = s->Exec(
            "SELECT comprimento || ' ' || codigo_postal FROM ruas "
            "WHERE nome = 'Rua de Serpa Pinto'");
        return r && r->TemLinhas() ? r->Col(1).ToString() : "(none)";
    }

    kvltest::ScopedEnvironment env;
    VirtualDisplay display;
    QProcess program;
    static inline int argc = 1;
    static inline char name[] = "moradas-session-test", *argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;  // goes before the display
};

TEST_P(Session, AStreetEditedSavedAndReopened) {
    QString main = StartProgram(true);
    const QString form = Window("^Rua$");
    EXPECT_FALSE(Geometry(main).intersects(Geometry(form))) << "the form covers the window";
    ASSERT_EQ(OpenTheStreet(main), form);
    Keys(form, {"Tab", "Tab", "Tab", "ctrl+a"});  // the length
    Xdotool({"type", "262,5"});
    Keys(form, {"Tab", "ctrl+a"});  // the postal code
    Xdotool({"type", "7000-999"});
    Keys(form, {"ctrl+s"});
    EXPECT_TRUE(Eventually([&] { return Stored() == "262.5 7000-999"; })) << Stored();
    ASSERT_NO_FATAL_FAILURE(Quit(main));

    main = StartProgram();
    const QString reopened = OpenTheStreet(main);
    // The length as the reopened form shows it, copied from its field.
    Keys(reopened, {"Tab", "Tab", "Tab", "ctrl+a", "ctrl+c"});
    EXPECT_TRUE(Eventually([] { return QGuiApplication::clipboard()->text() == "262,5"; }))
        << QGuiApplication::clipboard()->text().toStdString();
    Screenshot(main, "moradas-main.png");
    Screenshot(reopened, "moradas-form.png");
    ASSERT_NO_FATAL_FAILURE(Quit(main));
}

KVL_BACKENDS(Session);

}  // namespace
