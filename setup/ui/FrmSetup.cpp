#include "FrmSetup.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "../logic/Texts.h"
#include "FrmHelp.h"
#include "Logo.h"
#include "QtText.h"

namespace setup {

namespace {

QPushButton* Button(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(90);
    return button;
}

QLabel* Label(const char* name, const QString& caption) {
    auto* label = new QLabel(caption);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame* Frame(const char* name, QFrame::Shape shape) {
    auto* frame = new QFrame;
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

}  // namespace

FrmSetup::FrmSetup(SetupPlatform& platform, QWidget* parent)
    : QWidget(parent),
      logic_(*this, platform),
      tvOptions_(new QTreeWidget),
      txtInfo_(new QPlainTextEdit),
      lblLocation_(Label("lblLocation", QString())) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(ToQt(std::string(kTitle)));
    BuildControls();
}

void FrmSetup::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildHeader());
    layout->addWidget(
        Label("Label3", QString::fromUtf8("Carregar nos elementos em baixo para alterar a sua "
                                          "localização.")));
    layout->addWidget(BuildChoice(), 1);
    layout->addWidget(Frame("Frame2", QFrame::HLine));
    layout->addLayout(BuildButtons());
    resize(560, 400);
}

QWidget* FrmSetup::BuildHeader() {
    auto* header = new QWidget;
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel* title = Label("Label1", ToQt(std::string(kTitle)));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.8);
    font.setBold(true);
    title->setFont(font);
    QLabel* logo = Label("imgCartelix", QString());
    logo->setPixmap(CartelixLogo(56));
    layout->addWidget(title, 1);
    layout->addWidget(logo);
    return header;
}

QWidget* FrmSetup::BuildChoice() {
    QFrame* frame = Frame("Frame1", QFrame::StyledPanel);
    tvOptions_->setObjectName(QStringLiteral("tvOptions"));
    tvOptions_->setHeaderHidden(true);
    tvOptions_->setRootIsDecorated(false);
    tvOptions_->setMaximumWidth(190);
    connect(tvOptions_, &QTreeWidget::itemClicked, this, &FrmSetup::tvOptions_NodeClick);
    connect(tvOptions_, &QTreeWidget::currentItemChanged, this, &FrmSetup::tvOptions_NodeClick);

    txtInfo_->setObjectName(QStringLiteral("txtInfo"));
    txtInfo_->setReadOnly(true);
    txtInfo_->installEventFilter(this);

    QPushButton* browse = Button("cmdBrowse", QStringLiteral("Procurar"));
    connect(browse, &QPushButton::clicked, this, &FrmSetup::cmdBrowse_Click);
    lblLocation_->setTextInteractionFlags(Qt::NoTextInteraction);

    auto* lists = new QHBoxLayout;
    lists->addWidget(tvOptions_);
    lists->addWidget(txtInfo_, 1);
    auto* location = new QHBoxLayout;
    location->addWidget(Label("Label2", QString::fromUtf8("Localização:")));
    location->addWidget(lblLocation_, 1);
    location->addWidget(browse);
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(lists, 1);
    layout->addLayout(location);
    return frame;
}

QLayout* FrmSetup::BuildButtons() {
    QPushButton* help = Button("cmdHelp", QStringLiteral("Ajuda"));
    QPushButton* install = Button("cmdInstall", QStringLiteral("Instalar"));
    QPushButton* cancel = Button("cmdCancel", QStringLiteral("Sair"));
    connect(help, &QPushButton::clicked, this, &FrmSetup::cmdHelp_Click);
    connect(install, &QPushButton::clicked, this, &FrmSetup::cmdInstall_Click);
    connect(cancel, &QPushButton::clicked, this, &FrmSetup::cmdCancel_Click);
    auto* layout = new QHBoxLayout;
    layout->addWidget(help);
    layout->addStretch();
    layout->addWidget(install);
    layout->addWidget(cancel);
    return layout;
}

void FrmSetup::AddItem(const std::string& label) {
    tvOptions_->addTopLevelItem(new QTreeWidgetItem(QStringList(ToQt(label))));
}

void FrmSetup::SelectItem(int index) {
    // Selecting by program is not a click: the logic shows what it needs itself.
    const QSignalBlocker quiet(tvOptions_);
    tvOptions_->setCurrentItem(tvOptions_->topLevelItem(index));
}

std::string FrmSetup::SelectedItemText() const {
    const QList<QTreeWidgetItem*> selected = tvOptions_->selectedItems();
    return selected.isEmpty() ? std::string() : FromQt(selected.front()->text(0));
}

void FrmSetup::ShowInfo(const std::string& text) {
    txtInfo_->setPlainText(ToQt(text));
}

void FrmSetup::ShowLocation(const std::string& text) {
    lblLocation_->setText(ToQt(text));
}

void FrmSetup::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

WindowHandle FrmSetup::Handle() const {
    return static_cast<WindowHandle>(winId());
}

bool FrmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtInfo_ && event->type() == QEvent::FocusIn) txtInfo_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void FrmSetup::tvOptions_NodeClick(QTreeWidgetItem* node) {
    if (node != nullptr) logic_.tvOptions_NodeClick(FromQt(node->text(0)));
}

// The information is for reading only; the keyboard stays on the list.
void FrmSetup::txtInfo_GotFocus() {
    tvOptions_->setFocus();
}

void FrmSetup::cmdBrowse_Click() {
    logic_.cmdBrowse_Click();
}

void FrmSetup::cmdHelp_Click() {
    FrmHelp help(this);
    help.exec();
}

void FrmSetup::cmdInstall_Click() {
    // A failed installation has shown its error; the program ends.
    if (!logic_.cmdInstall_Click()) {
        hide();
        QApplication::exit(1);
    }
}

void FrmSetup::cmdCancel_Click() {
    close();
}

}  // namespace setup
