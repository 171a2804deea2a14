// The real program against a distribution folder, a temporary drive C: and the stand-in CAD
// server: unattended as a separate process, and its window offscreen with message boxes answered
// by a script. With ZOVLT_SCREENSHOTS set to a folder, the window is saved there at the start and
// in the finished state.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "Workspace.h"
#include "app/ProgramSetup.h"
#include "kvl/Text.h"
#include "platform/LinuxPlatform.h"
#include "window/frmMAIN.h"
#include "winhost/DialogMessageBoxes.h"

namespace zovlt::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The line an unattended run prints for a file copied from the medium.
auto Copied(const std::string& destination) {
    return AllOf(StartsWith("Ficheiro copiado: Z:\\"),
                 EndsWith("FILES\\" + destination.substr(10) + " -> " + destination));
}

const QString kProgram = BIN_DIR "/zovlt-config";

class EndToEndTest : public ::testing::Test {
  protected:
    EndToEndTest() {
        space.MakeDistribution();
        space.RegisterStandin();
    }

    // An unattended run with drive C:, the medium and the class registry of the workspace.
    ProgramRun Run(QStringList arguments, const QProcessEnvironment& environment = {}) {
        arguments << "--drive-c" << Q(space.DriveC()) << "--source" << Q(space.Source());
        if (!arguments.contains("--no-classes")) arguments << "--classes" << Q(space.ClassesFile());
        arguments.removeAll("--no-classes");
        return RunProgram(kProgram, arguments, environment);
    }
    ProgramRun Install() { return Run({"--unattended", "--accept-terms"}); }
    ProgramRun Uninstall() { return Run({"--unattended", "--uninstall"}); }

    static QString Q(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }

    Workspace space;
};

TEST_F(EndToEndTest, UnattendedInstallationCompletesAndASecondOneReplacesTheGroup) {
    const ProgramRun run = Install();
    EXPECT_EQ(run.exitCode, 0);
    space.ExpectFilesInPlace();
    space.ExpectCadConfigured();
    // Every caption and message, one per line: the stages in order, each file as it is copied.
    EXPECT_THAT(
        run.lines,
        ElementsAre(
            "Antes de continuar feche todas as aplicações de AutoCAD.",
            "Criar pastas de instalação", "Copiar o Ficheiro C:\\ZOV_LT\\leia-me.txt",
            "Copiar o Ficheiro C:\\ZOV_LT\\ZOV_LT.cui", "Copiar o Ficheiro C:\\ZOV_LT\\zovlt.lsp",
            "Copiar o Ficheiro C:\\ZOV_LT\\blocos\\lote.dwg",
            "Copiar o Ficheiro C:\\ZOV_LT\\blocos\\via.dwg",
            "Copiar o Ficheiro C:\\ZOV_LT\\DLL\\KVL2005.dll", "Abrir o AutoCAD",
            "Substituir os ficheiros instalados", Copied("C:\\ZOV_LT\\leia-me.txt"),
            Copied("C:\\ZOV_LT\\ZOV_LT.cui"), Copied("C:\\ZOV_LT\\zovlt.lsp"),
            Copied("C:\\ZOV_LT\\blocos\\lote.dwg"), Copied("C:\\ZOV_LT\\blocos\\via.dwg"),
            Copied("C:\\ZOV_LT\\DLL\\KVL2005.dll"), "Registar as librarias dinâmicas",
            "Configurar o Path \"Support\"", "Configurar o Menu", "Fim da instalação.",
            StartsWith("Instalação Concluída. Para mais informações")));

    EXPECT_EQ(Install().exitCode, 0);
    space.ExpectCadConfigured();
}

TEST_F(EndToEndTest, WithoutTheCadApplicationNothingIsInstalled) {
    space.Write(space.ClassesFile(), "# no class registered\n");
    const ProgramRun run = Install();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines.back(), "Interrompido no passo: Abrir o AutoCAD");
    EXPECT_THAT(run.lines[run.lines.size() - 2],
                AllOf(HasSubstr("Ocorreu um erro ao abrir o AutoCAD!"),
                      HasSubstr("(429) O componente ActiveX não consegue criar o objecto: "
                                "AutoCAD.Application")));
    EXPECT_THAT(space.Tree(space.DriveC()), ::testing::IsEmpty());
}

TEST_F(EndToEndTest, ADriveFullMidwayLeavesThePreviousInstallationAsItWas) {
    ASSERT_EQ(Install().exitCode, 0);
    const auto tree = space.Tree(space.DriveC());
    const QJsonObject state = space.State();
    space.Write(space.Files() / "leia-me.txt", "nova versão");
    space.Write(space.Files() / "blocos" / "grande.dwg", std::string(1 << 20, 'x'));
    // No file of the run may grow beyond 64 KiB; the signal would otherwise end it.
    const ProgramRun run = RunProgram(
        "/bin/sh",
        QStringList{"-c", "trap '' XFSZ; ulimit -f 128; exec \"$0\" \"$@\"", kProgram,
                    "--unattended", "--accept-terms", "--drive-c", Q(space.DriveC()), "--source",
                    Q(space.Source()), "--classes", Q(space.ClassesFile())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.lines, Contains(HasSubstr("(61) Disco cheio: C:\\ZOV_LT\\blocos\\grande.dwg")));
    EXPECT_EQ(space.Tree(space.DriveC()), tree);
    EXPECT_EQ(space.State(), state);
}

TEST_F(EndToEndTest, ARunKilledWhileCopyingLeavesOnlyWhatTheNextRunRemoves) {
    namespace fs = std::filesystem;
    // The library comes through a pipe that the test holds open: the run waits in its copy.
    const fs::path library = space.Files() / "DLL" / "KVL2005.dll";
    fs::remove(library);
    ASSERT_EQ(mkfifo(library.c_str(), 0600), 0);
    QProcess killed;
    killed.start(kProgram, {"--unattended", "--accept-terms", "--drive-c", Q(space.DriveC()),
                            "--source", Q(space.Source()), "--classes", Q(space.ClassesFile())});
    int writer = -1;
    while (writer < 0 && killed.state() != QProcess::NotRunning) {
        writer = ::open(library.c_str(), O_WRONLY | O_NONBLOCK);  // once the run reads
        if (writer < 0) QThread::msleep(5);
    }
    ASSERT_GE(writer, 0) << "the run ended before it copied the library";
    ASSERT_EQ(::write(writer, "part", 4), 4);
    const auto temporaries = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(space.DriveC())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".winhost-")) names.push_back(name);
        }
        return names;
    };
    while (temporaries().size() < 6) QThread::msleep(5);  // the library's copy under way
    ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    killed.waitForFinished(-1);
    ::close(writer);

    fs::remove(library);
    space.MakeDistribution();
    ASSERT_EQ(Install().exitCode, 0);
    EXPECT_THAT(temporaries(), ::testing::IsEmpty());
    space.ExpectFilesInPlace();
    space.ExpectCadConfigured();
}

TEST_F(EndToEndTest, AMediumWithoutTheLibraryLeavesTheInstalledOneAndNamesWhatIsMissing) {
    ASSERT_EQ(Install().exitCode, 0);
    const std::filesystem::path installed = space.DriveC() / "ZOV_LT" / "DLL" / "KVL2005.dll";
    const std::string before = space.Read(installed);
    std::filesystem::remove(space.Files() / "DLL" / "KVL2005.dll");
    const ProgramRun run = Install();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(space.Read(installed), before);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_THAT(run.lines[run.lines.size() - 2],
                AllOf(StartsWith("Ocorreu um erro no Registo das librarias dinâmicas! (53) "
                                 "Ficheiro não encontrado: Z:\\"),
                      EndsWith("\\FILES\\DLL\\KVL2005.dll")));
    EXPECT_EQ(run.lines.back(), "Interrompido no passo: Copiar o Ficheiro C:\\ZOV_LT\\DLL\\KVL2005.dll");
}

TEST_F(EndToEndTest, AMediumWithLowerCaseNamesInstallsAsWindowsWouldFindIt) {
    namespace fs = std::filesystem;
    fs::rename(space.Files() / "DLL" / "KVL2005.dll", space.Files() / "DLL" / "kvl2005.dll");
    fs::rename(space.Files() / "DLL", space.Files() / "dll");
    fs::rename(space.Files(), space.Files().parent_path() / "files");
    EXPECT_EQ(Install().exitCode, 0);
    fs::rename(space.Files().parent_path() / "files", space.Files());
    EXPECT_EQ(space.Read(space.DriveC() / "ZOV_LT" / "DLL" / "KVL2005.dll"), "DLL/KVL2005.dll");
    space.ExpectCadConfigured();
}

TEST_F(EndToEndTest, UninstallLeavesDriveCAndTheCadApplicationAsBeforeTheInstallation) {
    space.Write(space.DriveC() / "windows" / "win.ini", "[windows]\r\n");
    space.Write(space.DriveC() / "Program Files" / "AutoCAD 2006" / "acad.exe", "");
    space.Write(space.StateFile(),
                R"({"SupportPath": "C:\\Program Files\\AutoCAD 2006\\support", "Licenca": "X-1",
                    "MenuGroups": [{"Name": "ACAD", "File": "C:\\acad.cui", "Menus": ["File", "Help"]}],
                    "MenuBar": ["File", "Help"], "Documents": [], "Visible": true,
                    "Running": false})");
    const auto tree = space.Tree(space.DriveC());
    const QJsonObject state = space.State();

    ASSERT_EQ(Install().exitCode, 0);
    space.ExpectFilesInPlace();
    for (int removal = 1; removal <= 2; ++removal) {
        const ProgramRun run = Uninstall();
        EXPECT_EQ(run.exitCode, 0) << removal;
        EXPECT_THAT(run.lines.front(), StartsWith("Remover o ZOV LT deste computador?"));
        EXPECT_EQ(run.lines.back(), "O ZOV LT foi removido deste computador.");
        EXPECT_EQ(space.Tree(space.DriveC()), tree) << removal;
        EXPECT_EQ(space.State(), state) << removal;
    }
}

TEST_F(EndToEndTest, TheWindowsRemovalAsksFirstAndNoChangesNothing) {
    ASSERT_EQ(Install().exitCode, 0);
    const auto tree = space.Tree(space.DriveC());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ZOVLT_CONFIG_ANSWERS", "no");
    const ProgramRun declined = Run({"--uninstall"}, environment);
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_THAT(declined.lines, ElementsAre(StartsWith("Remover o ZOV LT deste computador?")));
    EXPECT_EQ(space.Tree(space.DriveC()), tree);

    environment.insert("ZOVLT_CONFIG_ANSWERS", "yes,ok");
    EXPECT_EQ(Run({"--uninstall"}, environment).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(space.DriveC() / "ZOV_LT"));
}

TEST_F(EndToEndTest, TheLogHoldsEveryStepFileAndAnswerAndTheDefaultClassesReachTheStandIn) {
    // Without --classes: the registry installed beside the program, whose stand-in keeps its
    // state in the user's state folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const std::filesystem::path stateHome = space.DriveC().parent_path() / "state";
    environment.insert("XDG_STATE_HOME", Q(stateHome));
    const std::filesystem::path log = space.DriveC().parent_path() / "zovlt.log";
    const ProgramRun run =
        Run({"--unattended", "--accept-terms", "--no-classes", "--log", Q(log)}, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(stateHome / "cad-standin" / "state.json"));
    const std::string text = space.Read(log);
    for (const char* line :
         {" zovlt-config 1.0.0 --unattended --accept-terms --log ", " Criar pastas de instalação\n",
          " Ficheiro copiado: Z:\\", "FILES\\DLL\\KVL2005.dll -> C:\\ZOV_LT\\DLL\\KVL2005.dll\n",
          " Pasta criada: C:\\ZOV_LT\\blocos\n",
          " Mensagem: Antes de continuar feche todas as aplicações de AutoCAD. | Resposta: OK\n",
          " Fim da instalação.\n"}) {
        EXPECT_THAT(text, HasSubstr(line));
    }
}

TEST_F(EndToEndTest, CancelAfterTheCadApplicationStartedQuitsIt) {
    std::filesystem::remove(space.Files() / "ZOV_LT.cui");  // the menu cannot be loaded
    const ProgramRun run = Install();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_THAT(run.lines[run.lines.size() - 2], HasSubstr("Ocorreu um erro ao Carregar o Menu!"));
    // Started hidden, it would otherwise run on unseen: its new drawing closed, it has quit.
    const QJsonObject state = space.State();
    EXPECT_FALSE(state["Running"].toBool());
    EXPECT_THAT(Texts(state["Documents"]), ::testing::IsEmpty());
}

// The options of a run given drive C:'s folder and the folder that stands for the program's.
Options Given(const std::filesystem::path& driveC, const std::filesystem::path& source) {
    Options options;
    options.host.driveC = driveC;
    options.source = source.string();
    return options;
}

TEST(ProgramSetupTest, AProgramFolderAtADriveRootHasNoTrailingBackslash) {
    Workspace space;
    EXPECT_EQ(SetupFrom(Given(space.DriveC(), space.DriveC())).programFolder, "C:");
    EXPECT_EQ(SetupFrom(Given(space.DriveC(), "/")).programFolder, "Z:");
    EXPECT_EQ(SetupFrom(Given(space.DriveC(), space.Source())).programFolder,
              "Z:" + kvl::StrSubstitui(space.Source().string(), "/", "\\", true));
}

TEST_F(EndToEndTest, CommandLineUsage) {
    EXPECT_EQ(RunProgram(kProgram, {"--help"}).exitCode, 0);
    EXPECT_THAT(RunProgram(kProgram, {"--version"}).lines, ElementsAre("zovlt-config 1.0.0"));
    // Arguments split at blanks: "--source " gives an empty value. An unreadable class
    // registry or log is bad usage too, not a late error; and nobody accepted the terms.
    for (const char* arguments :
         {"--drive-c", "--source ", "--no-such-option", "-platform offscreen",
          "--classes /nonexistent/classes.ini", "--log /nonexistent/zovlt.log"}) {
        EXPECT_EQ(RunProgram(kProgram,
                             QString("--unattended --accept-terms ").append(arguments).split(' '))
                      .exitCode,
                  2)
            << arguments;
    }
    QProcess unaccepted;
    unaccepted.start(kProgram, {"--unattended", "--drive-c", Q(space.DriveC())});
    unaccepted.waitForFinished(-1);
    EXPECT_EQ(unaccepted.exitCode(), 2);
    EXPECT_TRUE(unaccepted.readAllStandardError().contains("--accept-terms"));
    EXPECT_FALSE(std::filesystem::exists(space.DriveC() / "ZOV_LT"));
}

// Stands in for the desktop's default handlers of links.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

void SaveScreenshot(QWidget& window, const char* name) {
    const QString folder = qEnvironmentVariable("ZOVLT_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QApplication::processEvents();  // pending layout changes first
    window.grab().save(folder + "/" + name);
}

// The window of a program started with the options of EndToEndTest, OK to every message box.
class WindowTest : public EndToEndTest {
  protected:
    // One application for the suite, gone before the program's static objects are.
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { application.reset(); }

    WindowTest() { window.show(); }

    template <class Control>
    Control* Find(const char* name) {
        auto* control = window.findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    void Tick() { Find<QCheckBox>("Check1")->click(); }

    static inline int argc = 1;
    static inline char name[] = "zovlt-config";
    static inline char* argv[] = {name, nullptr};
    static inline std::unique_ptr<QApplication> application;
    ProgramSetup setup = SetupFrom([this] {
        Options options = Given(space.DriveC(), space.Source());
        options.classes = space.ClassesFile().string();
        return options;
    }());
    winhost::DialogMessageBoxes boxes{winhost::ScriptedAnswers::Parse("ok,ok")};
    LinuxPlatform platform{winhost::WindowsFiles(setup.drives), setup.classes, boxes};
    frmMAIN window{platform, setup.programFolder};
};

TEST_F(WindowTest, StartsWaitingForTheAcceptanceThatEnablesInstallOnlyWhenTicked) {
    SaveScreenshot(window, "zovlt-start.png");
    auto* install = Find<QPushButton>("Command1");
    EXPECT_FALSE(install->isEnabled());
    EXPECT_FALSE(Find<QLabel>("lblInstalação")->isVisible());
    EXPECT_FALSE(Find<QLabel>("Image1")->pixmap().isNull());
    EXPECT_FALSE(Find<QLabel>("Image2")->pixmap().isNull());
    auto* terms = Find<QPlainTextEdit>("Text1");
    EXPECT_TRUE(terms->isReadOnly());
    for (const char* clause : {"\na) ", "\nb) ", "\nc) ", "\nd) ", "\ne) ", "\nf) "}) {
        EXPECT_TRUE(terms->toPlainText().contains(clause)) << clause;
    }
    Tick();
    EXPECT_TRUE(install->isEnabled());
    Tick();
    EXPECT_FALSE(install->isEnabled());
    Find<QCheckBox>("Check1")->setCheckState(Qt::PartiallyChecked);
    EXPECT_FALSE(install->isEnabled());
}

TEST_F(WindowTest, LinksGoToTheDefaultHandlers) {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "Open");
    QDesktopServices::setUrlHandler("mailto", &recorder, "Open");
    for (const char* name : {"Image1", "Image2", "Label3", "Label4"}) {
        QTest::mouseClick(Find<QLabel>(name), Qt::LeftButton);
    }
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("mailto");
    ASSERT_EQ(recorder.urls.size(), 4);
    EXPECT_EQ(recorder.urls[0], recorder.urls[3]);  // both the maker's site
    EXPECT_NE(recorder.urls[0], recorder.urls[1]);
    EXPECT_EQ(recorder.urls[2].scheme(), "mailto");
    EXPECT_EQ(recorder.urls[2].path(), Find<QLabel>("Label3")->text());
}

TEST_F(WindowTest, InstallsWithScriptedAnswersAndRefusesToCloseMeanwhile) {
    auto* install = Find<QPushButton>("Command1");
    auto* progress = Find<QLabel>("lblInstalação");
    std::optional<bool> closedWhileInstalling;
    QTimer probe;  // runs whenever the sequence yields to the window's events
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!closedWhileInstalling && !install->isEnabled() && progress->isVisible()) {
            closedWhileInstalling = window.close();
        }
    });
    probe.start(0);
    Tick();
    QTest::mouseClick(install, Qt::LeftButton);
    probe.stop();

    EXPECT_EQ(closedWhileInstalling, false);
    EXPECT_FALSE(install->isVisible());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("Check1")->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Fechar");
    SaveScreenshot(window, "zovlt-finished.png");

    space.ExpectFilesInPlace();
    space.ExpectCadConfigured();

    QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, AFailedInstallationEndsCancelledWithTheStepThatFailedInView) {
    std::filesystem::remove(space.Files() / "ZOV_LT.cui");  // the menu cannot be loaded
    Tick();
    // The script's second "ok" is no answer to Retry/Cancel: the box gets Cancel.
    QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(window.Result(), Outcome::Cancelled);
    auto* progress = Find<QLabel>("lblInstalação");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->text(), "Interrompido no passo: Configurar o Menu");
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Fechar");
}

}  // namespace
}  // namespace zovlt::test

#include "ProgramTest.moc"
