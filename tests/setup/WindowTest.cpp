// The windows offscreen, driven by a machine held in memory. Setting the environment
// variable SETUP_SCREENSHOTS saves pictures of both windows under docs/images.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "Fakes.h"
#include "QtFixture.h"
#include "platform/FolderChooser.h"
#include "platform/LinuxPlatform.h"
#include "window/frmHelp.h"
#include "window/frmSetup.h"
#include "winhost/QtTranslations.h"

namespace setup::testing {
namespace {

template <typename T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Pictures for the README, saved only when asked for.
void Screenshot(QWidget& window, const char* file) {
    if (qEnvironmentVariableIsEmpty("SETUP_SCREENSHOTS")) return;
    window.grab().save(QStringLiteral(SETUP_SCREENSHOT_DIR "/") + QString::fromLatin1(file));
}

class WindowTest : public kvltest::QtTest<> {
  protected:
    void SetUp() override {
        InstallProduct(platform, "Cartelix Professional 06.00", "Cartelix Professional");
        ASSERT_TRUE(window.logic().Form_Load());
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }

    FakePlatform platform;
    frmSetup window{platform};
};

// The window's part only: the list, the click, the text box, the elided folder, the help, the
// buttons.
TEST_F(WindowTest, ShowsTheClickedComponentItsFolderAndHelpAndInstallsOnClick) {
    auto* list = Child<QTreeWidget>(window, "tvOptions");
    auto* info = Child<QPlainTextEdit>(window, "txtInfo");
    auto* location = Child<QLabel>(window, "lblLocation");
    ASSERT_EQ(list->topLevelItemCount(), 4);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().front()->text(0), QStringLiteral("Warehouse (*.mdb)"));
    // Each CR LF of the logic's text is one line break of the box.
    EXPECT_EQ(
        info->toPlainText(),
        QStringLiteral("Warehouse com temas de exemplo\n\n\n\n\nEste componente ocupa 2,00MB"));
    Screenshot(window, "setup-main.png");

    QTreeWidgetItem* library = list->topLevelItem(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(library).center());
    EXPECT_EQ(location->text(), QStringLiteral("C:\\Dados\\Workspace\\"));
    // A long folder is shortened in the middle and the window keeps its width.
    const int width = window.width();
    const std::string folder =
        "C:\\" + std::string(40, 'P') + "\\" + std::string(300, 'a') + "\\Fim";
    platform.chosenFolder = folder;
    Child<QPushButton>(window, "cmdBrowse")->click();
    QApplication::processEvents();
    EXPECT_EQ(window.width(), width);
    const QString shown = location->text();
    EXPECT_TRUE(shown.startsWith("C:\\PPP") && shown.contains(QChar(0x2026)) &&
                shown.endsWith("Fim\\"))
        << shown.toStdString();
    EXPECT_EQ(location->toolTip().toStdString(), folder + "\\");

    // The information is for reading only: the list keeps the keyboard.
    info->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(info->hasFocus());
    EXPECT_TRUE(list->hasFocus());

    // Help is modal and keeps the focus on OK.
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* help = qobject_cast<frmHelp*>(QApplication::activeModalWidget());
        ASSERT_NE(help, nullptr);
        checked = true;
        help->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        QApplication::processEvents();
        auto* text = Child<QPlainTextEdit>(*help, "txtAjuda");
        auto* ok = Child<QPushButton>(*help, "cmdOK");
        EXPECT_TRUE(text->toPlainText().startsWith(
            QStringLiteral("Este programa permite instalar a simbologia do PDM, \npara Cartelix")));
        text->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(ok->hasFocus());
        Screenshot(*help, "setup-help.png");
        ok->click();
    });
    Child<QPushButton>(window, "cmdHelp")->click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    Child<QPushButton>(window, "cmdInstall")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Instalação concluida.");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Child<QPushButton>(window, "cmdCancel")->click();
    EXPECT_FALSE(window.isVisible());
}

// The platform's chooser in the dialog: it opens at the nearest folder there, offers drive C:,
// speaks Portuguese and gives back a Windows path.
TEST_F(WindowTest, TheFolderChooserOpensAtTheNearestFolderThereAndGivesAWindowsPath) {
    ASSERT_TRUE(winhost::InstallPortugueseQtTexts(*application));
    QTemporaryDir driveC;
    std::filesystem::create_directories(driveC.path().toStdString() + "/Dados");
    winhost::PrintedMessageBoxes boxes;
    DialogFolderChooser chooser;
    LinuxPlatform host({driveC.path().toStdString(), "", {}, "", false}, boxes, &chooser);
    QString directory;
    const auto answer = [&](bool accept) {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        directory = dialog->directory().absolutePath();
        EXPECT_TRUE(dialog->sidebarUrls().contains(QUrl::fromLocalFile(driveC.path())));
        EXPECT_TRUE(Child<QLabel>(*dialog, "lookInLabel")->text().startsWith("Procurar em"));
        QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject");
    };
    QTimer::singleShot(0, [&] { answer(true); });
    EXPECT_EQ(host.ChooseFolder(window.Handle(), "C:\\dados\\Novo\\Sub\\"), "C:\\Dados");
    EXPECT_EQ(directory, driveC.path() + "/Dados");
    // A folder on no drive of this host starts at drive C:.
    QTimer::singleShot(0, [&] { answer(false); });
    EXPECT_EQ(host.ChooseFolder(window.Handle(), "D:\\Simbolos\\"), std::nullopt);
    EXPECT_EQ(directory, driveC.path());
}

}  // namespace
}  // namespace setup::testing
