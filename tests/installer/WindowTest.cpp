// The window offscreen, with the real Linux platform and the stand-in CAD server; message
// boxes are answered through ZOVLT_ANSWERS. With ZOVLT_SCREENSHOTS set to a folder, the window
// is saved there at the start and in the finished state.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QJsonArray>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "LinuxPlatform.h"
#include "ProgramSetup.h"
#include "UrlRecorder.h"
#include "Workspace.h"
#include "frmMAIN.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;

// One application for the whole run, gone before the program's static objects are.
class ApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        QApplication::setApplicationDisplayName(QStringLiteral("ZOV LT Config"));
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[13] = "zovlt-config";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

void SaveScreenshot(QWidget& window, const char* name) {
    const QString folder = qEnvironmentVariable("ZOVLT_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QApplication::processEvents();  // pending layout changes first
    window.grab().save(folder + "/" + name);
}

class WindowTest : public ::testing::Test {
  protected:
    explicit WindowTest(const char* answers = "ok,ok") {
        qputenv("ZOVLT_ANSWERS", answers);
        space.MakeDistribution();
        space.RegisterStandin();
        Options options;
        options.driveC = space.DriveC().string();
        options.source = space.Source().string();
        options.classes = space.ClassesFile().string();
        setup = std::make_unique<ProgramSetup>(SetupFrom(options));
        boxes = std::make_unique<DialogMessageBoxes>();
        platform = std::make_unique<LinuxPlatform>(setup->drives, setup->classes, *boxes);
        window = std::make_unique<frmMAIN>(*platform, setup->programFolder);
        window->show();
    }

    template <class Control>
    Control* Find(const char* name) {
        auto* control = window->findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    void Tick() { Find<QCheckBox>("Check1")->click(); }

    Workspace space;
    std::unique_ptr<ProgramSetup> setup;
    std::unique_ptr<DialogMessageBoxes> boxes;
    std::unique_ptr<LinuxPlatform> platform;
    std::unique_ptr<frmMAIN> window;
};

TEST_F(WindowTest, StartsWaitingForTheAcceptance) {
    SaveScreenshot(*window, "zovlt-start.png");
    EXPECT_EQ(window->windowTitle(), "ZOV LT - Zovaria (Instalação)");
    EXPECT_EQ(Find<QLabel>("Label1")->text(), "ZOV LT - Zovaria");
    EXPECT_EQ(Find<QCheckBox>("Check1")->text(), "Li e aceito as condições");
    EXPECT_FALSE(Find<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(Find<QPushButton>("Command1")->text(), "Instalar");
    EXPECT_FALSE(Find<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Cancelar");
    EXPECT_TRUE(Find<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(Find<QLabel>("Label5")->text(), "Observações:");
    EXPECT_EQ(Find<QLabel>("Label6")->text(),
              "Fechar todos os programas de AutoCAD abertos antes de continuar.");
    EXPECT_EQ(Find<QLabel>("Label7")->text(),
              "A aplicação ZOV LT será instalada no directório C:\\ZOV_LT");
    EXPECT_EQ(Find<QLabel>("Label2")->text(), "Informações e Suporte");
    EXPECT_FALSE(Find<QLabel>("lblInstalação")->isVisible());
    EXPECT_FALSE(Find<QLabel>("Image1")->pixmap().isNull());
    EXPECT_FALSE(Find<QLabel>("Image2")->pixmap().isNull());
    auto* terms = Find<QPlainTextEdit>("Text1");
    EXPECT_TRUE(terms->isReadOnly());
    for (const char* clause : {"\na) ", "\nb) ", "\nc) ", "\nd) ", "\ne) ", "\nf) "}) {
        EXPECT_TRUE(terms->toPlainText().contains(clause)) << clause;
    }
}

TEST_F(WindowTest, TheCheckBoxEnablesInstallOnlyWhenTicked) {
    auto* install = Find<QPushButton>("Command1");
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
            closedWhileInstalling = window->close();
        }
    });
    probe.start(0);
    Tick();
    QTest::mouseClick(install, Qt::LeftButton);
    probe.stop();

    EXPECT_EQ(closedWhileInstalling, false);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(install->isVisible());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(Find<QCheckBox>("Check1")->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Fechar");
    EXPECT_TRUE(Find<QPushButton>("Command2")->isEnabled());
    SaveScreenshot(*window, "zovlt-finished.png");

    EXPECT_TRUE(fs::exists(space.DriveC() / "ZOV_LT" / "blocos" / "via.dwg"));
    const QJsonObject state = space.State();
    EXPECT_TRUE(state["SupportPath"].toString().endsWith(";C:\\ZOV_LT"));
    EXPECT_EQ(state["MenuGroups"].toArray().last().toObject()["Name"].toString(), "ZOV_LT");
    EXPECT_FALSE(state["Running"].toBool());

    QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

class WindowCancelTest : public WindowTest {
  protected:
    WindowCancelTest() : WindowTest("cancel") {}
};

TEST_F(WindowCancelTest, CancelInTheConfirmationChangesNothing) {
    Tick();
    QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_TRUE(Find<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>("Check1")->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Cancelar");
    EXPECT_FALSE(fs::exists(space.DriveC() / "ZOV_LT"));
}

}  // namespace
}  // namespace zovlt::test
