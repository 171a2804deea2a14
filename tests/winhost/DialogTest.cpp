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
    QStringList shown;  // the title, the buttons, the default button
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QStringList captions;
        for (QAbstractButton* button : box->buttons()) captions << button->text();
        captions.sort();
        shown << box->windowTitle() << captions.join("/") << box->defaultButton()->text();
        icon = box->icon();
    });
    EXPECT_EQ(boxes.Show("Falhou", kRetryCancel + kExclamation + kDefaultButton2), kRetry);
    EXPECT_EQ(shown.join(" | "), "Programa | Cancelar/Repetir | Cancelar");
    EXPECT_EQ(icon, QMessageBox::Warning);
}

}  // namespace
}  // namespace winhost
