// Windows, controls, list controls and the progress form over real widgets.

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "Databases.h"
#include "QtFixture.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtControls.h"
#include "kvlqt/QtListControl.h"
#include "kvlqt/QtProgressForm.h"
#include "kvlqt/QtWindow.h"

namespace {

using kvltest::ErrorOf;

class Adapters : public kvltest::QtTest {};

TEST_F(Adapters, PlaceAndSizeComeBackAsTheyWereGiven) {
    QWidget widget;
    widget.setWindowTitle("Clientes (12)");
    widget.show();
    kvlqt::QtWindow window(&widget);
    EXPECT_EQ(window.Caption(), "Clientes (12)");
    struct Case {
        int32_t left, top, width, height;
    };
    for (const Case c : {Case{100, 120, 400, 300}, Case{0, 0, 640, 480}, Case{20, 35, 250, 90}}) {
        window.Move(c.left, c.top, c.width, c.height);
        QApplication::processEvents();
        EXPECT_EQ(window.Left(), c.left);
        EXPECT_EQ(window.Top(), c.top);
        EXPECT_EQ(window.Width(), c.width);
        EXPECT_EQ(window.Height(), c.height);
    }
    window.SetLeft(33);
    window.SetTop(44);
    EXPECT_EQ(window.Left(), 33);
    EXPECT_EQ(window.Top(), 44);
    EXPECT_EQ(window.Width(), 250) << "moving keeps the size";
}

TEST_F(Adapters, StatesAndVisibilityMapToTheWidget) {
    QWidget widget;
    widget.show();
    kvlqt::QtWindow window(&widget);
    for (int16_t state : {kvl::kWindowMaximized, kvl::kWindowMinimized, kvl::kWindowNormal}) {
        window.SetWindowState(state);
        EXPECT_EQ(window.WindowState(), state);
    }
    window.SetVisible(false);
    EXPECT_FALSE(widget.isVisible());
}

TEST_F(Adapters, KindOfWindowIsToldByItsWidgets) {
    QMainWindow mdi;
    mdi.setCentralWidget(new QMdiArea);
    QMainWindow plain;
    plain.setCentralWidget(new QWidget);
    QWidget fixed;
    fixed.setFixedSize(300, 200);
    QWidget sizable;
    sizable.setMinimumSize(100, 100);
    struct Case {
        QWidget* widget;
        bool mdiParent;
        int16_t border;
    };
    for (const Case& c :
         {Case{&mdi, true, kvlqt::kBorderSizable}, Case{&plain, false, kvlqt::kBorderSizable},
          Case{&fixed, false, kvlqt::kBorderFixed}, Case{&sizable, false, kvlqt::kBorderSizable}}) {
        kvlqt::QtWindow window(c.widget);
        EXPECT_EQ(window.IsMdiParent(), c.mdiParent);
        EXPECT_EQ(window.BorderStyle(), c.border);
    }
}

TEST_F(Adapters, MenuActionsAreMenuItemsWithTheirTagsAndOtherWidgetsPlainControls) {
    QMainWindow main;
    QMenu* file = main.menuBar()->addMenu("Ficheiro");
    file->menuAction()->setProperty(kvlqt::kTagProperty, "ficheiro");
    QAction* open = file->addAction("Abrir");
    open->setProperty(kvlqt::kTagProperty, "abrir");
    file->addSeparator();
    QMenu* more = file->addMenu("Mais");
    QAction* untagged = more->addAction("Sobre");
    auto* button = new QPushButton("OK");
    button->setProperty(kvlqt::kTagProperty, "botao");
    main.setCentralWidget(button);

    std::vector<std::pair<std::string, bool>> seen;  // tag, menu item
    for (const auto& control : kvlqt::QtWindow(&main).Controls())
        seen.emplace_back(control->Tag(), control->IsMenuItem());
    const std::vector<std::pair<std::string, bool>> menuItems(seen.begin(), seen.begin() + 4);
    EXPECT_EQ(menuItems, (std::vector<std::pair<std::string, bool>>{
                             {"ficheiro", true}, {"abrir", true}, {"", true}, {"", true}}));
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::pair<std::string, bool>{"botao", false}),
              seen.end());
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const auto& s) { return s.second; }), 4)
        << "the separator is no menu item";

    auto controls = kvlqt::QtWindow(&main).Controls();
    controls[1]->SetEnabled(false);
    EXPECT_FALSE(open->isEnabled());
    controls[3]->SetEnabled(false);
    EXPECT_FALSE(untagged->isEnabled());
}

TEST_F(Adapters, AWidgetGoneIsAnObjectNotSet) {
    auto widget = std::make_unique<QWidget>();
    auto window = kvl::ClientObject<kvl::Window>(kvlqt::WindowOf(widget.get()));
    auto combo = std::make_unique<QComboBox>();
    auto list = kvl::ClientObject<kvl::ListControl>(kvlqt::ListOf(combo.get()));
    auto action = std::make_unique<QAction>();
    kvlqt::QtMenuItem item(action.get());
    widget.reset();
    combo.reset();
    action.reset();
    EXPECT_EQ(ErrorOf([&] { window->Caption(); }), kvl::kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { window->Move(0, 0, 1, 1); }), kvl::kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { list->AddItem("x"); }), kvl::kObjectNotSet);
    EXPECT_EQ(ErrorOf([&] { item.SetEnabled(true); }), kvl::kObjectNotSet);
}

// What a list shows, entry by entry.
template <class List>
std::vector<std::string> Entries(const List& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.count(); ++i) {
        if constexpr (std::is_same_v<List, QComboBox>) {
            entries.push_back(list.itemText(i).toStdString());
        } else {
            entries.push_back(list.item(i)->text().toStdString());
        }
    }
    return entries;
}

TEST_F(Adapters, ListaEncheFillsCombosAndListWidgets) {
    kvltest::SqliteFile file;
    auto s = kvl::kvlSERV::Create();
    file.Configure(*s);
    s->Abre();
    ASSERT_TRUE(s->Aberto);
    for (const char* sql : {"CREATE TABLE c (id INTEGER, nome VARCHAR(20))",
                            "INSERT INTO c VALUES (7, 'Évora'), (3, 'Braga')"})
        ASSERT_FALSE(s->Exec(sql)->erro);
    QComboBox combo;
    combo.addItem("antes");
    QListWidget list;
    list.addItem("antes");
    const std::string sql = "SELECT id, nome FROM c ORDER BY nome";
    const kvl::Variant comboCodes = s->ListaEnche(kvlqt::ListOf(&combo), sql);
    const kvl::Variant listCodes = s->ListaEnche(kvlqt::ListOf(&list), sql);
    const std::vector<std::string> names = {"Braga", "Évora"};
    EXPECT_EQ(Entries(combo), names);
    EXPECT_EQ(Entries(list), names);
    for (const kvl::Variant& codes : {comboCodes, listCodes}) {
        EXPECT_EQ(codes.array().At({-1}).ToString(), "");
        EXPECT_EQ(codes.array().At({0}).ToString(), "3");
        EXPECT_EQ(codes.array().At({1}).ToString(), "7");
    }
}

TEST_F(Adapters, ProgressMessagesShowAndClear) {
    QStatusBar bar;
    QLabel label;
    kvlqt::QtProgressForm onBar(&bar), onLabel(&label);
    for (kvlqt::QtProgressForm* form : {&onBar, &onLabel})
        form->Msg(kvl::Variant(""), kvl::Variant("A ler as tabelas"), std::nullopt);
    EXPECT_EQ(bar.currentMessage(), "A ler as tabelas");
    EXPECT_EQ(label.text(), "A ler as tabelas");
    for (kvlqt::QtProgressForm* form : {&onBar, &onLabel})
        form->Msg(kvl::Variant(""), kvl::Variant(""), std::nullopt);
    EXPECT_EQ(bar.currentMessage(), "");
    EXPECT_EQ(label.text(), "");
}

}  // namespace
