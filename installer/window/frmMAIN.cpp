#include "window/frmMAIN.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logic/Contacts.h"
#include "window/ClickLabel.h"
#include "window/Logos.h"
#include "window/Terms.h"

namespace zovlt {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <class Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

ClickLabel* LinkLabel(const QString& text, const char* name) {
    auto* label = Named(new ClickLabel(text), name);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: #1f4e79; text-decoration: underline;"));
    return label;
}

ClickLabel* Picture(const QPixmap& pixmap, const char* name) {
    auto* picture = Named(new ClickLabel, name);
    picture->setPixmap(pixmap);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

QLabel* Heading(const QString& text, const char* name) {
    auto* label = Named(new QLabel(text), name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Check1's state as a check value: 0 unticked, 1 ticked, 2 greyed.
int CheckValue(Qt::CheckState state) {
    switch (state) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

}  // namespace

frmMAIN::frmMAIN(InstallPlatform& platform, const std::string& programFolder)
    : installer_(*this, platform, programFolder) {
    setObjectName(QStringLiteral("frmMAIN"));
    setWindowTitle(QStringLiteral("ZOV LT - Zovaria (Instalação)"));
    CreateControls();
    LayOut();
    Connect();
    Form_Load();
}

void frmMAIN::CreateControls() {
    Label1 = Heading(QStringLiteral("ZOV LT - Zovaria"), "Label1");
    QFont title = Label1->font();
    title.setPointSize(title.pointSize() + 6);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    Text1 = Named(new QPlainTextEdit(Q(TermsOfUse())), "Text1");
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Check1 = Named(new QCheckBox(QStringLiteral("Li e aceito as condições")), "Check1");
    Command1 = Named(new QPushButton(QStringLiteral("Instalar")), "Command1");
    Command1->setEnabled(false);
    Command2 = Named(new QPushButton(QStringLiteral("Cancelar")), "Command2");
    Label5 = Heading(QStringLiteral("Observações:"), "Label5");
    Label6 = Named(new QLabel(QStringLiteral(
                       "Fechar todos os programas de AutoCAD abertos antes de continuar.")),
                   "Label6");
    Label7 = Named(
        new QLabel(QStringLiteral("A aplicação ZOV LT será instalada no directório C:\\ZOV_LT")),
        "Label7");
    lblInstalacao = Named(new QLabel, "lblInstalação");
    lblInstalacao->setVisible(false);
    Label2 = Heading(QStringLiteral("Informações e Suporte"), "Label2");
    Label3 = LinkLabel(Q(contacts::kSupportMail), "Label3");
    Label4 = LinkLabel(Q(contacts::kMakerSite), "Label4");
    Image1 = Picture(MakerLogo(), "Image1");
    Image2 = Picture(AgencyLogo(), "Image2");
}

void frmMAIN::LayOut() {
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addWidget(Label1, 1);
    top->addWidget(Image2);

    auto* notes = new QVBoxLayout;
    for (QWidget* note : {static_cast<QWidget*>(Label5), static_cast<QWidget*>(Label6),
                          static_cast<QWidget*>(Label7)}) {
        notes->addWidget(note);
    }

    auto* contact = new QVBoxLayout;
    contact->addWidget(Label2);
    contact->addWidget(Label3);
    contact->addWidget(Label4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(contact, 1);
    bottom->addLayout(buttons);
    bottom->setAlignment(buttons, Qt::AlignBottom);

    auto* form = new QVBoxLayout(this);
    form->addLayout(top);
    form->addWidget(Text1, 1);
    form->addWidget(Check1);
    form->addLayout(notes);
    form->addWidget(lblInstalacao);
    form->addLayout(bottom);
    resize(620, 600);
}

void frmMAIN::Connect() {
    connect(Check1, &QCheckBox::stateChanged, this, &frmMAIN::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMAIN::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMAIN::Command2_Click);
    connect(Image1, &ClickLabel::clicked, this, &frmMAIN::Image1_Click);
    connect(Image2, &ClickLabel::clicked, this, &frmMAIN::Image2_Click);
    connect(Label3, &ClickLabel::clicked, this, &frmMAIN::Label3_Click);
    connect(Label4, &ClickLabel::clicked, this, &frmMAIN::Label4_Click);
}

void frmMAIN::Form_Load() {
    installer_.Form_Load();
}

void frmMAIN::closeEvent(QCloseEvent* event) {
    if (installer_.Form_QueryUnload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMAIN::Check1_Click() {
    installer_.Check1_Click(CheckValue(Check1->checkState()));
}
void frmMAIN::Command1_Click() {
    installer_.Command1_Click();
}
void frmMAIN::Command2_Click() {
    close();
}
void frmMAIN::Image1_Click() {
    installer_.Image1_Click();
}
void frmMAIN::Image2_Click() {
    installer_.Image2_Click();
}
void frmMAIN::Label3_Click() {
    installer_.Label3_Click();
}
void frmMAIN::Label4_Click() {
    installer_.Label4_Click();
}

void frmMAIN::SetProgressCaption(const std::string& caption) {
    lblInstalacao->setText(Q(caption));
}
void frmMAIN::SetProgressVisible(bool visible) {
    lblInstalacao->setVisible(visible);
}
void frmMAIN::SetAcceptEnabled(bool enabled) {
    Check1->setEnabled(enabled);
}
void frmMAIN::SetInstallEnabled(bool enabled) {
    Command1->setEnabled(enabled);
}
void frmMAIN::SetInstallVisible(bool visible) {
    Command1->setVisible(visible);
}
void frmMAIN::SetCloseEnabled(bool enabled) {
    Command2->setEnabled(enabled);
}
void frmMAIN::SetCloseCaption(const std::string& caption) {
    Command2->setText(Q(caption));
}

void frmMAIN::SetBusy(bool busy) {
    cursor_.Set(busy);
}

void frmMAIN::Yield() {
    QCoreApplication::processEvents();
}

}  // namespace zovlt
