// The real program against a distribution folder, a temporary drive C: and the stand-in CAD
// server, unattended as a separate process; and its window offscreen on the logic's fakes. With
// ZOVLT_SCREENSHOTS set to a folder, the window is saved there at the start and in the finished
// state.

#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Fakes.h"
#include "QtFixture.h"
#include "Workspace.h"
#include "app/ProgramSetup.h"
#include "window/frmMAIN.h"

namespace zovlt::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const QString kProgram = BIN_DIR "/zovlt-config";

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Runs of the program on the workspace, with the class registry installed beside it, whose
// stand-in keeps its state in the user's state folder.
class EndToEndTest : public ::testing::Test {
  protected:
    EndToEndTest() {
        space.MakeDistribution();
        space.RegisterStandin();
    }

    ProgramRun Run(QStringList arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", Q(space.StateHome()));
        arguments << "--drive-c" << Q(space.DriveC()) << "--source" << Q(space.Source());
        return RunProgram(kProgram, arguments, environment);
    }

    Workspace space;
};

TEST_F(EndToEndTest, InstallationAndTwoRemovalsLeaveDriveCAndTheCadApplicationAsBefore) {
    space.Write(space.DriveC() / "windows" / "win.ini", "[windows]\r\n");
    space.Write(space.StateFile(),
                R"({"SupportPath": "C:\\Program Files\\AutoCAD 2006\\support", "Licenca": "X-1",
                    "MenuGroups": [{"Name": "ACAD", "File": "C:\\acad.cui", "Menus": ["File", "Help"],
                                    "Cor": "azul"}],
                    "MenuBar": ["File", "Help"], "Documents": [], "Visible": true,
                    "Running": false})");
    const auto tree = space.Tree(space.DriveC());
    const QJsonObject state = space.State();

    const std::filesystem::path log = space.StateHome() / "zovlt.log";
    const ProgramRun run = Run({"--unattended", "--accept-terms", "--log", Q(log)});
    EXPECT_EQ(run.exitCode, 0);
    // FILES under C:\ZOV_LT, but for its hidden files and its other folders.
    auto files = space.Tree(space.Files());
    for (const char* skipped : {".oculto", "extra/", "extra/nao-copiar.txt"}) files.erase(skipped);
    EXPECT_EQ(space.Tree(space.DriveC() / "ZOV_LT"), files);
    // The folder once in the support path, the group loaded with its first menu just before the
    // last, the drawing closed and the application no longer running.
    const QJsonObject cad = space.State();
    EXPECT_EQ(cad["SupportPath"].toString(), "C:\\Program Files\\AutoCAD 2006\\support;C:\\ZOV_LT");
    EXPECT_EQ(cad["MenuGroups"][1]["Name"].toString(), "ZOV_LT");
    EXPECT_EQ(cad["MenuBar"].toArray(), QJsonArray({"File", "ZOV LT", "Help"}));
    EXPECT_TRUE(cad["Documents"].toArray().isEmpty() && !cad["Running"].toBool());
    // Every caption and message, one per line (the removal's last shows), each file as it is
    // copied.
    EXPECT_THAT(run.lines, Contains(AllOf(StartsWith("Ficheiro copiado: Z:\\"),
                                          EndsWith("FILES\\zovlt.lsp -> C:\\ZOV_LT\\zovlt.lsp"))));
    // The log starts with the run's command line; each step follows, one line each.
    EXPECT_THAT(space.Read(log),
                AllOf(HasSubstr(" zovlt-config 1.0.0 --unattended --accept-terms "),
                      HasSubstr(" Criar pastas de instalação\n")));

    for (int removal = 1; removal <= 2; ++removal) {
        const ProgramRun removed = Run({"--unattended", "--uninstall"});
        EXPECT_EQ(removed.exitCode, 0) << removal;
        EXPECT_EQ(removed.lines.back(), "O ZOV LT foi removido deste computador.");
        EXPECT_EQ(space.Tree(space.DriveC()), tree) << removal;
        EXPECT_EQ(space.State(), state) << removal;
    }
}

TEST(ProgramSetupTest, AProgramFolderAtADriveRootHasNoTrailingBackslash) {
    Workspace space;
    const std::string driveC = space.DriveC().string();
    EXPECT_EQ(SetupFrom(ParseOptions({"--drive-c", driveC, "--source", driveC})).programFolder,
              "C:");
}

TEST_F(EndToEndTest, CommandLineUsage) {
    EXPECT_EQ(RunProgram(kProgram, {"--help"}).exitCode, 0);
    EXPECT_THAT(RunProgram(kProgram, {"--version"}).lines, ElementsAre("zovlt-config 1.0.0"));
    // Arguments split at blanks: "--source " gives an empty value. An unreadable class
    // registry is bad usage too, not a late error; and nobody accepted the terms. The options
    // both installers share are the other installer's usage test's.
    for (const char* arguments :
         {"--source ", "--no-such-option", "--classes /nonexistent/classes.ini"}) {
        const QStringList words =
            QString("--unattended --accept-terms ").append(arguments).split(' ');
        EXPECT_EQ(RunProgram(kProgram, words).exitCode, 2) << arguments;
    }
    EXPECT_EQ(Run({"--unattended"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(space.DriveC() / "ZOV_LT"));
}

void SaveScreenshot(QWidget& window, const char* name) {
    const QString folder = qEnvironmentVariable("ZOVLT_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QApplication::processEvents();  // pending layout changes first
    window.grab().save(folder + "/" + name);
}

// The window on the logic's fake platform, which answers OK to every message box: the
// installation on the real platform is the end-to-end run's.
class WindowTest : public kvltest::QtTest<> {
  protected:
    WindowTest() { window.show(); }

    template <class Control>
    Control* Find(const char* name) {
        auto* control = window.findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    FakePlatform platform;
    frmMAIN window{platform, "Z:\\media\\dist\\bin"};
};

TEST_F(WindowTest, WaitsForTheTermsOpensLinksAndInstallsRefusingToCloseMeanwhile) {
    SaveScreenshot(window, "zovlt-start.png");
    auto* install = Find<QPushButton>("Command1");
    auto* progress = Find<QLabel>("lblInstalação");
    auto* accept = Find<QCheckBox>("Check1");
    EXPECT_FALSE(install->isEnabled() || progress->isVisible());
    EXPECT_FALSE(Find<QLabel>("Image1")->pixmap().isNull() ||
                 Find<QLabel>("Image2")->pixmap().isNull());
    EXPECT_TRUE(Find<QPlainTextEdit>("Text1")->isReadOnly());
    accept->click();
    EXPECT_TRUE(install->isEnabled());
    accept->setCheckState(Qt::PartiallyChecked);
    EXPECT_FALSE(install->isEnabled());

    // The maker's site, the agency's and a mail to support.
    for (const char* name : {"Image1", "Image2", "Label3", "Label4"}) {
        QTest::mouseClick(Find<QLabel>(name), Qt::LeftButton);
    }
    const std::string maker = "open https://www.zovaria.example/zovlt";
    EXPECT_THAT(platform.Logged("open "),
                ElementsAre(maker, "open https://www.planurbe.example",
                            "open mailto:" + Find<QLabel>("Label3")->text().toStdString(), maker));

    std::optional<bool> closedWhileInstalling;
    QStringList steps;
    QTimer probe;  // runs whenever the sequence yields to the window's events
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (install->isEnabled() || !progress->isVisible()) return;
        if (!closedWhileInstalling) closedWhileInstalling = window.close();
        steps << progress->text();
    });
    probe.start(0);
    accept->click();
    QTest::mouseClick(install, Qt::LeftButton);
    probe.stop();

    EXPECT_EQ(closedWhileInstalling, false);
    EXPECT_TRUE(steps.contains("Configurar o Menu")) << steps.join(", ").toStdString();
    EXPECT_EQ(window.Result(), Outcome::Completed);
    EXPECT_FALSE(install->isVisible() || progress->isVisible() || accept->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Fechar");
    SaveScreenshot(window, "zovlt-finished.png");

    QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace zovlt::test
