// Message boxes as dialogs, offscreen, answered by a script.

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "QtFixture.h"
#include "winhost/DialogMessageBoxes.h"

namespace winhost {
namespace {

class DialogTest : public kvltest::QtTest<> {};

TEST_F(DialogTest, TheBoxShowsTheFlagsAndTheScriptAnswersIt) {
    QApplication::setApplicationDisplayName(QStringLiteral("Programa"));
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
