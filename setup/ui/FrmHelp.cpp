#include "FrmHelp.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "../logic/Texts.h"
#include "QtText.h"

namespace setup {

FrmHelp::FrmHelp(QWidget* parent)
    : QDialog(parent),
      txtAjuda_(new QPlainTextEdit),
      cmdOK_(new QPushButton(QStringLiteral("OK"))) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Ajuda"));
    setModal(true);

    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);
    txtAjuda_->setObjectName(QStringLiteral("txtAjuda"));
    txtAjuda_->setReadOnly(true);
    txtAjuda_->setPlainText(ToQt(HelpText()));
    txtAjuda_->setMinimumSize(430, 330);
    txtAjuda_->installEventFilter(this);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(txtAjuda_);

    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &FrmHelp::cmdOK_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    cmdOK_->setFocus();
}

bool FrmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtAjuda_ && event->type() == QEvent::FocusIn) txtAjuda_GotFocus();
    return QDialog::eventFilter(watched, event);
}

// The help text is for reading only; the keyboard stays on the button.
void FrmHelp::txtAjuda_GotFocus() {
    cmdOK_->setFocus();
}

void FrmHelp::cmdOK_Click() {
    accept();
}

}  // namespace setup
