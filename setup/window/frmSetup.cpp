#include "window/frmSetup.h"

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

#include "logic/Texts.h"
#include "window/ElidedLabel.h"
#include "window/Logo.h"
#include "window/QtText.h"
#include "window/frmHelp.h"

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

frmSetup::frmSetup(SetupPlatform& platform, QWidget* parent)
    : QWidget(parent),
      logic_(*this, platform),
      tvOptions(new QTreeWidget),
      txtInfo(new QPlainTextEdit),
      lblLocation(new ElidedLabel) {
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(ToQt(std::string(kTitle)));
    BuildControls();
}

void frmSetup::BuildControls() {
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

QWidget* frmSetup::BuildHeader() {
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

QWidget* frmSetup::BuildChoice() {
    QFrame* frame = Frame("Frame1", QFrame::StyledPanel);
    tvOptions->setObjectName(QStringLiteral("tvOptions"));
    tvOptions->setHeaderHidden(true);
    tvOptions->setRootIsDecorated(false);
    tvOptions->setMaximumWidth(190);
    connect(tvOptions, &QTreeWidget::itemClicked, this, &frmSetup::tvOptions_NodeClick);
    connect(tvOptions, &QTreeWidget::currentItemChanged, this, &frmSetup::tvOptions_NodeClick);

    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    txtInfo->installEventFilter(this);

    QPushButton* browse = Button("cmdBrowse", QStringLiteral("Procurar"));
    connect(browse, &QPushButton::clicked, this, &frmSetup::cmdBrowse_Click);
    lblLocation->setTextInteractionFlags(Qt::NoTextInteraction);

    auto* lists = new QHBoxLayout;
    lists->addWidget(tvOptions);
    lists->addWidget(txtInfo, 1);
    auto* location = new QHBoxLayout;
    location->addWidget(Label("Label2", QString::fromUtf8("Localização:")));
    // The label takes the room there is; a long folder is shortened, never the window widened.
    location->addWidget(lblLocation, 1);
    location->addWidget(browse);
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(lists, 1);
    layout->addLayout(location);
    return frame;
}

QLayout* frmSetup::BuildButtons() {
    QPushButton* help = Button("cmdHelp", QStringLiteral("Ajuda"));
    QPushButton* install = Button("cmdInstall", QStringLiteral("Instalar"));
    QPushButton* cancel = Button("cmdCancel", QStringLiteral("Sair"));
    connect(help, &QPushButton::clicked, this, &frmSetup::cmdHelp_Click);
    connect(install, &QPushButton::clicked, this, &frmSetup::cmdInstall_Click);
    connect(cancel, &QPushButton::clicked, this, &frmSetup::cmdCancel_Click);
    auto* layout = new QHBoxLayout;
    layout->addWidget(help);
    layout->addStretch();
    layout->addWidget(install);
    layout->addWidget(cancel);
    return layout;
}

void frmSetup::AddItem(const std::string& label) {
    tvOptions->addTopLevelItem(new QTreeWidgetItem(QStringList(ToQt(label))));
}

void frmSetup::SelectItem(int index) {
    // Selecting by program is not a click: the logic shows what it needs itself.
    const QSignalBlocker quiet(tvOptions);
    tvOptions->setCurrentItem(tvOptions->topLevelItem(index));
}

std::string frmSetup::SelectedItemText() const {
    const QList<QTreeWidgetItem*> selected = tvOptions->selectedItems();
    return selected.isEmpty() ? std::string() : FromQt(selected.front()->text(0));
}

void frmSetup::ShowInfo(const std::string& text) {
    txtInfo->setPlainText(ToQt(text));
}

void frmSetup::ShowLocation(const std::string& text) {
    lblLocation->SetFullText(ToQt(text));
}

void frmSetup::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

WindowHandle frmSetup::Handle() const {
    return static_cast<WindowHandle>(winId());
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtInfo && event->type() == QEvent::FocusIn) txtInfo_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void frmSetup::tvOptions_NodeClick(QTreeWidgetItem* node) {
    if (node != nullptr) logic_.tvOptions_NodeClick(FromQt(node->text(0)));
}

// The information is for reading only; the keyboard stays on the list.
void frmSetup::txtInfo_GotFocus() {
    tvOptions->setFocus();
}

void frmSetup::cmdBrowse_Click() {
    logic_.cmdBrowse_Click();
}

void frmSetup::cmdHelp_Click() {
    frmHelp help(this);
    help.exec();
}

void frmSetup::cmdInstall_Click() {
    // A failed installation has shown its error; the program ends.
    if (!logic_.cmdInstall_Click()) {
        hide();
        QApplication::exit(1);
    }
}

void frmSetup::cmdCancel_Click() {
    close();
}

}  // namespace setup
