#include "window/frmHelp.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logic/Texts.h"
#include "window/QtText.h"

namespace setup {

frmHelp::frmHelp(QWidget* parent)
    : QDialog(parent), txtAjuda(new QPlainTextEdit), cmdOK(new QPushButton(QStringLiteral("OK"))) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Ajuda"));
    setModal(true);

    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    txtAjuda->setObjectName(QStringLiteral("txtAjuda"));
    txtAjuda->setReadOnly(true);
    txtAjuda->setPlainText(ToQt(HelpText()));
    txtAjuda->setMinimumSize(430, 330);
    txtAjuda->installEventFilter(this);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(txtAjuda);

    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmHelp::cmdOK_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    cmdOK->setFocus();
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtAjuda && event->type() == QEvent::FocusIn) txtAjuda_GotFocus();
    return QDialog::eventFilter(watched, event);
}

// The help text is for reading only; the keyboard stays on the button.
void frmHelp::txtAjuda_GotFocus() {
    cmdOK->setFocus();
}

void frmHelp::cmdOK_Click() {
    accept();
}

}  // namespace setup
