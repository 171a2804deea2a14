#include "MainWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "FormPlacement.h"
#include "ServiceHooks.h"
#include "kvl/Error.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtControls.h"
#include "kvlqt/QtListControl.h"

namespace moradas {

namespace {

// The window's key for its saved place is its title before the "(".
constexpr const char* kTitle = "Moradas";

// A message box with only OK and the warning icon, in the classic numbering.
constexpr int32_t kOkWithWarningIcon = 48;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<kvl::kvlSERV> session, QWidget* parent)
    : QMainWindow(parent), session_(session), store_(std::move(session)) {
    setObjectName(QStringLiteral("frmMoradas"));
    setWindowTitle(QString::fromUtf8(kTitle));
    resize(680, 420);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    municipalities_ = new QComboBox(central);
    municipalities_->setObjectName(QStringLiteral("cboConcelho"));
    layout->addWidget(new QLabel(QStringLiteral("Concelho"), central));
    layout->addWidget(municipalities_);
    streets_ = new QTableWidget(central);
    streets_->setObjectName(QStringLiteral("grdRuas"));
    streets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    streets_->setSelectionMode(QAbstractItemView::SingleSelection);
    streets_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    streets_->verticalHeader()->hide();
    streets_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(streets_, 1);
    setCentralWidget(central);
    statusBar();
    Guarded([&] {
        form_ = new StreetForm(store_, this);
        municipalityCodes_ = store_.FillMunicipalities(kvlqt::ListOf(municipalities_));
    });
    BuildMenu();
    connect(municipalities_, &QComboBox::currentIndexChanged, this,
            [this] { ChooseMunicipality(); });
    connect(streets_, &QTableWidget::itemSelectionChanged, this, [this] { OpenStreet(); });
    ChooseMunicipality();
    Guarded([&] {
        WindowOpened(*session_, *this);
        if (form_ && !WindowOpened(*session_, *form_)) PlaceForm();
    });
}

void MainWindow::PlaceForm() {
    const int menuBarBottom = geometry().top() + menuBar()->sizeHint().height() - 1;
    form_->move(FormPlace(frameGeometry(), menuBarBottom, form_->sizeHint(),
                          screen()->availableGeometry()));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The form opens with the window, not when the window is restored from an icon: a form
    // the user closed stays closed until a street is opened.
    if (!event->spontaneous()) ShowForm();
}

void MainWindow::ShowForm() {
    if (!form_) return;
    form_->show();
    form_->raise();
}

void MainWindow::BuildMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Ruas"));
    struct Option {
        const char* name;
        const char* caption;
        const char* tag;
        void (MainWindow::*run)();
        QKeySequence::StandardKey key = QKeySequence::UnknownKey;
    };
    const Option options[] = {
        {"mnuAbrir", "&Abrir", kOptionOpen, &MainWindow::OpenStreet},
        {"mnuNovo", "&Nova", kOptionNew, &MainWindow::NewStreet},
        {"mnuGravar", "&Gravar", kOptionSave, &MainWindow::SaveStreet, QKeySequence::Save},
        {"mnuEliminar", "&Eliminar", kOptionDelete, &MainWindow::DeleteStreet},
        {"mnuListar", "&Listar", kOptionList, &MainWindow::ListStreets},
    };
    for (const Option& o : options) {
        QAction* action = menu->addAction(QString::fromUtf8(o.caption));
        action->setObjectName(QString::fromUtf8(o.name));
        action->setProperty(kvlqt::kTagProperty, QString::fromUtf8(o.tag));
        action->setShortcut(o.key);
        // Keys work in the edit form too, where a street is changed and saved.
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, [this, run = o.run] { (this->*run)(); });
    }
    menu->addSeparator();
    QAction* quit = menu->addAction(QStringLiteral("&Sair"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

std::string MainWindow::Municipality() const {
    const int k = municipalities_->currentIndex();
    if (municipalityCodes_.kind() != kvl::Variant::Kind::Array) return "";
    return municipalityCodes_.array().At({k}).ToString();
}

std::string MainWindow::ChosenStreet() const {
    const QList<QTableWidgetItem*> chosen = streets_->selectedItems();
    return chosen.empty() ? "" : chosen.front()->data(Qt::UserRole).toString().toStdString();
}

void MainWindow::ChooseMunicipality() {
    const QString name = municipalities_->currentText();
    setWindowTitle(name.isEmpty() ? QString::fromUtf8(kTitle)
                                  : QString::fromUtf8(kTitle) + " (" + name + ")");
    Guarded([&] {
        if (form_) form_->SetMunicipality(Municipality());
    });
    ListStreets();
}

void MainWindow::ListStreets() {
    Guarded([&] {
        const std::vector<std::string> headings = store_.LineHeadings();
        const std::vector<StreetLine> lines = store_.Streets(Municipality());
        streets_->clear();
        streets_->setColumnCount(static_cast<int>(headings.size()));
        streets_->setRowCount(static_cast<int>(lines.size()));
        for (size_t c = 0; c < headings.size(); ++c)
            streets_->setHorizontalHeaderItem(static_cast<int>(c),
                                              new QTableWidgetItem(FromUtf8(headings[c])));
        for (size_t row = 0; row < lines.size(); ++row) {
            for (size_t c = 0; c < lines[row].columns.size(); ++c) {
                auto* item = new QTableWidgetItem(FromUtf8(lines[row].columns[c]));
                item->setData(Qt::UserRole, FromUtf8(lines[row].id));
                streets_->setItem(static_cast<int>(row), static_cast<int>(c), item);
            }
        }
        streets_->resizeColumnsToContents();
        statusBar()->showMessage(QString::number(lines.size()) + " ruas");
    });
}

void MainWindow::OpenStreet() {
    const std::string id = ChosenStreet();
    if (id.empty() || !form_) return;
    Guarded([&] {
        if (auto street = store_.Read(id)) form_->Show(*street);
    });
    ShowForm();
}

void MainWindow::ChooseStreet(const std::string& id) {
    for (int row = 0; row < streets_->rowCount(); ++row) {
        if (streets_->item(row, 0)->data(Qt::UserRole).toString().toStdString() == id) {
            streets_->selectRow(row);
            return;
        }
    }
}

void MainWindow::NewStreet() {
    if (!form_) return;
    streets_->clearSelection();
    form_->Clear();
    ShowForm();
}

void MainWindow::SaveStreet() {
    if (!form_) return;
    Guarded([&] {
        const std::optional<std::string> id = store_.Save(form_->Current());
        if (!id) return;
        ListStreets();
        // Chosen again, the street is opened as the database now holds it, with its key.
        ChooseStreet(*id);
    });
}

void MainWindow::DeleteStreet() {
    const std::string id = ChosenStreet();
    if (id.empty()) return;
    const int32_t answer =
        session_->Dialogos->Pergunta(kTitle, "Eliminar a rua escolhida?",
                                     kvl::kYesNo | kvl::kIconQuestion | kvl::kDefaultButton2);
    if (answer != kvl::kYes) return;
    Guarded([&] {
        if (store_.Delete(id)) {
            NewStreet();
            ListStreets();
        }
    });
}

void MainWindow::Guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const MissingField& e) {
        ShowMessage(e.what(), kOkWithWarningIcon);
    } catch (const kvl::Error& e) {
        ShowMessage(std::to_string(e.number()) + "\n" + e.description(), kvl::kIconError);
    } catch (const std::exception& e) {
        ShowMessage(e.what(), kvl::kIconError);
    }
}

void MainWindow::ShowMessage(const std::string& text, int32_t okWithIcon) {
    session_->Dialogos->Pergunta(kTitle, text, okWithIcon);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The form's place is taken whether or not it is open: a form closed on its own keeps
    // where it was.
    Guarded([&] {
        if (form_) WindowClosing(*session_, *form_);
        WindowClosing(*session_, *this);
    });
    event->accept();
}

}  // namespace moradas
