// The library's questions as Qt message boxes: what the box offers, and the answer's number.

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "Databases.h"
#include "QtFixture.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtDialogs.h"

namespace {

class Dialogs : public kvltest::QtTest {};

// What a box showed.
struct Shown {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;  // in the order of their values
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Waits for the next message box, records it and clicks the button given.
void AnswerNextBox(Shown& shown, QMessageBox::StandardButton click) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &shown, click] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) shown.buttons.append(box->standardButton(b));
        std::sort(shown.buttons.begin(), shown.buttons.end());  // the platform orders them
        shown.defaultButton = box->standardButton(box->defaultButton());
        box->button(click)->click();
    });
    timer->start(10);
}

TEST_F(Dialogs, TheStyleGivesTheButtonsIconAndDefaultAndTheClickTheAnswer) {
    struct Case {
        int32_t style;
        QMessageBox::Icon icon;
        QList<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton defaultButton, click;
        int32_t answer;
    };
    const Case cases[] = {
        {274,
         QMessageBox::Critical,
         {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore},
         QMessageBox::Retry,
         QMessageBox::Ignore,
         kvl::kIgnore},
        {36,
         QMessageBox::Question,
         {QMessageBox::Yes, QMessageBox::No},
         QMessageBox::Yes,
         QMessageBox::No,
         kvl::kNo},
        {16, QMessageBox::Critical, {QMessageBox::Ok}, QMessageBox::Ok, QMessageBox::Ok, 1},
    };
    kvlqt::QtDialogs dialogs;
    for (const Case& c : cases) {
        Shown shown;
        AnswerNextBox(shown, c.click);
        EXPECT_EQ(dialogs.Pergunta("Título", "Linha 1\r\nLinha 2", c.style), c.answer) << c.style;
        EXPECT_EQ(shown.title, "Título");
        EXPECT_EQ(shown.text, "Linha 1\nLinha 2");
        EXPECT_EQ(shown.icon, c.icon) << c.style;
        EXPECT_EQ(shown.buttons, c.buttons) << c.style;
        EXPECT_EQ(shown.defaultButton, c.defaultButton) << c.style;
    }
}

TEST_F(Dialogs, ScriptedAnswersAreTakenOnePerBox) {
    kvlqt::QtDialogs dialogs("retry, yes");
    EXPECT_EQ(dialogs.Pergunta("t", "falhou", 274), kvl::kRetry);
    EXPECT_EQ(dialogs.Pergunta("t", "eliminar?", 36), kvl::kYes);
    EXPECT_EQ(dialogs.Pergunta("t", "e agora?", 36), kvl::kYes)
        << "past the script: Yes where offered";
    EXPECT_THROW(kvlqt::QtDialogs("talvez"), std::invalid_argument);
}

TEST_F(Dialogs, TheSessionsErrorDialogIsAQtMessageBox) {
    kvltest::SqliteFile file;
    auto s = kvl::kvlSERV::Create();
    s->Dialogos = std::make_shared<kvlqt::QtDialogs>();
    file.Configure(*s);
    s->Abre();
    ASSERT_TRUE(s->Aberto);
    Shown shown;
    AnswerNextBox(shown, QMessageBox::Ignore);
    EXPECT_TRUE(s->Exec("SELECT * FROM nenhuma")->erro);
    EXPECT_TRUE(shown.title.startsWith("kvlSERV")) << shown.title.toStdString();
    EXPECT_EQ(shown.defaultButton, QMessageBox::Retry);
}

}  // namespace
