// Message boxes as dialogs, offscreen, answered by a script.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "winhost/DialogMessageBoxes.h"

namespace winhost {
namespace {

class DialogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationDisplayName(QStringLiteral("Programa"));
    }
    static void TearDownTestSuite() { application.reset(); }

    static inline int argc = 1;
    static inline char name[] = "winhost-dialogs";
    static inline char* argv[] = {name, nullptr};
    static inline std::unique_ptr<QApplication> application;
};

TEST_F(DialogTest, TheBoxShowsTheFlagsAndTheScriptAnswersIt) {
    DialogMessageBoxes boxes(ScriptedAnswers::Parse("retry"));
    // What the box shows, read while it is open, before the script's answer closes it.
    QStringList captions;
    QString title, defaultCaption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) captions << button->text();
        title = box->windowTitle();
        icon = box->icon();
        defaultCaption = box->defaultButton()->text();
    });
    EXPECT_EQ(boxes.Show("Falhou", kRetryCancel + kExclamation + kDefaultButton2), kRetry);
    captions.sort();
    EXPECT_EQ(captions, QStringList({"Cancelar", "Repetir"}));
    EXPECT_EQ(title, "Programa");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(defaultCaption, "Cancelar");
}

}  // namespace
}  // namespace winhost
