// The windows offscreen, driven by a machine held in memory. Setting the environment
// variable SETUP_SCREENSHOTS saves pictures of both windows under docs/images.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "Fakes.h"
#include "ui/FrmHelp.h"
#include "ui/FrmSetup.h"

namespace setup::testing {
namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "setup-window";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

template <typename T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

bool Screenshots() {
    return !qEnvironmentVariableIsEmpty("SETUP_SCREENSHOTS");
}

void Save(QWidget& window, const char* file) {
    window.grab().save(QStringLiteral(SETUP_SCREENSHOT_DIR "/") + QString::fromLatin1(file));
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallProduct(platform, "Cartelix Professional 06.00", "Cartelix Professional");
        ASSERT_TRUE(window.logic().Form_Load());
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }

    FakePlatform platform;
    FrmSetup window{platform};
};

TEST_F(WindowTest, ShowsEveryControlWithTheFirstComponentSelected) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Instalar Simbologia"));
    for (const char* name : {"Label1", "imgCartelix", "Label3", "Label2", "lblLocation"}) {
        Child<QLabel>(window, name);
    }
    for (const char* name : {"Frame1", "Frame2"}) Child<QFrame>(window, name);
    const std::vector<std::pair<const char*, const char*>> buttons = {{"cmdBrowse", "Procurar"},
                                                                      {"cmdHelp", "Ajuda"},
                                                                      {"cmdInstall", "Instalar"},
                                                                      {"cmdCancel", "Sair"}};
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(Child<QPushButton>(window, name)->text(), QString::fromUtf8(caption));
    }
    auto* list = Child<QTreeWidget>(window, "tvOptions");
    ASSERT_EQ(list->topLevelItemCount(), 4);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().front()->text(0), QStringLiteral("Warehouse (*.mdb)"));
    EXPECT_EQ(Child<QLabel>(window, "lblLocation")->text(),
              QStringLiteral("C:\\Dados\\Warehouse\\"));
    EXPECT_TRUE(Child<QPlainTextEdit>(window, "txtInfo")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Warehouse com temas de exemplo\n\n\n\n\n")));
    if (Screenshots()) Save(window, "setup-main.png");
}

TEST_F(WindowTest, ClickingAnItemShowsItAndTheInformationNeverKeepsTheFocus) {
    auto* list = Child<QTreeWidget>(window, "tvOptions");
    auto* info = Child<QPlainTextEdit>(window, "txtInfo");
    QTreeWidgetItem* library = list->topLevelItem(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(library).center());
    EXPECT_TRUE(info->toPlainText().startsWith(QStringLiteral("Biblioteca de símbolos")));
    EXPECT_EQ(Child<QLabel>(window, "lblLocation")->text(),
              QStringLiteral("C:\\Dados\\Workspace\\"));

    info->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(info->hasFocus());
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(WindowTest, BrowseChangesTheSelectedComponentsFolder) {
    auto* list = Child<QTreeWidget>(window, "tvOptions");
    list->setCurrentItem(list->topLevelItem(1));
    platform.chosenFolder = "C:\\Outra";
    Child<QPushButton>(window, "cmdBrowse")->click();
    EXPECT_EQ(Child<QLabel>(window, "lblLocation")->text(), QStringLiteral("C:\\Outra\\"));
    EXPECT_EQ(window.logic().Target(kSymbology), "C:\\Outra\\");
}

TEST_F(WindowTest, HelpIsModalAndKeepsTheFocusOnOk) {
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* help = qobject_cast<FrmHelp*>(QApplication::activeModalWidget());
        ASSERT_NE(help, nullptr);
        checked = true;
        help->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        QApplication::processEvents();
        EXPECT_EQ(help->windowTitle(), QStringLiteral("Ajuda"));
        auto* text = Child<QPlainTextEdit>(*help, "txtAjuda");
        auto* ok = Child<QPushButton>(*help, "cmdOK");
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_TRUE(text->toPlainText().startsWith(
            QStringLiteral("Este programa permite instalar a simbologia do PDM, \npara Cartelix")));
        text->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(ok->hasFocus());
        if (Screenshots()) Save(*help, "setup-help.png");
        ok->click();
    });
    Child<QPushButton>(window, "cmdHelp")->click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowTest, InstallShowsTheCompletionAndKeepsTheWindow) {
    Child<QPushButton>(window, "cmdInstall")->click();
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().text, "Instalação concluida.");
    EXPECT_EQ(platform.copies.size(), 4u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Child<QPushButton>(window, "cmdCancel")->click();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace setup::testing
