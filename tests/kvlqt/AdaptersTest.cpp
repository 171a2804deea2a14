// Qt widgets as the library's client objects, offscreen: what each member reaches in the widget,
// and error 91 once the widget is gone. What the library does with them is tested with it.

#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "Databases.h"
#include "QtFixture.h"
#include "kvlqt/QtControls.h"
#include "kvlqt/QtDialogs.h"
#include "kvlqt/QtListControl.h"
#include "kvlqt/QtProgressForm.h"
#include "kvlqt/QtWindow.h"

namespace {

class Adapters : public kvltest::QtTest<> {};

TEST_F(Adapters, AWindowIsItsWidgetsTitlePlaceSizeStateAndKind) {
    QWidget widget;
    widget.setWindowTitle("Clientes (12)");
    widget.show();
    kvlqt::QtWindow window(&widget);
    EXPECT_EQ(window.Caption(), "Clientes (12)");
    const auto geometry = [&] {
        QApplication::processEvents();
        return std::vector<int32_t>{window.Left(), window.Top(), window.Width(), window.Height()};
    };
    window.Move(20, 35, 250, 90);
    EXPECT_EQ(geometry(), (std::vector<int32_t>{20, 35, 250, 90}));
    window.SetLeft(33);
    window.SetTop(44);
    EXPECT_EQ(geometry(), (std::vector<int32_t>{33, 44, 250, 90})) << "moving keeps the size";
    for (int16_t state : {kvl::kWindowMaximized, kvl::kWindowMinimized, kvl::kWindowNormal}) {
        window.SetWindowState(state);
        EXPECT_EQ(window.WindowState(), state);
    }
    window.SetVisible(false);
    EXPECT_FALSE(widget.isVisible());

    QMainWindow mdi, fixed;
    mdi.setCentralWidget(new QMdiArea);
    fixed.setFixedSize(300, 200);
    EXPECT_TRUE(kvlqt::QtWindow(&mdi).IsMdiParent());
    EXPECT_FALSE(kvlqt::QtWindow(&fixed).IsMdiParent());
    EXPECT_EQ(kvlqt::QtWindow(&fixed).BorderStyle(), kvlqt::kBorderFixed);
    EXPECT_EQ(window.BorderStyle(), kvlqt::kBorderSizable);
}

TEST_F(Adapters, MenuActionsAreMenuItemsWithTheirTagsAndOtherWidgetsPlainControls) {
    QMainWindow main;
    QMenu* file = main.menuBar()->addMenu("Ficheiro");
    QAction* open = file->addAction("Abrir");
    open->setProperty(kvlqt::kTagProperty, "abrir");
    file->addSeparator();
    QAction* untagged = file->addMenu("Mais")->addAction("Sobre");
    auto* button = new QPushButton("OK");
    button->setProperty(kvlqt::kTagProperty, "botao");
    main.setCentralWidget(button);

    std::string seen;  // each control's tag, "*" after a menu item's
    const auto controls = kvlqt::QtWindow(&main).Controls();
    for (const auto& control : controls)
        seen += control->Tag() + (control->IsMenuItem() ? "* " : " ");
    // The menus' own actions are items too; the separator is none.
    ASSERT_TRUE(seen.starts_with("* abrir* * * ")) << seen;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), '*'), 4) << seen;
    EXPECT_NE(seen.find(" botao "), std::string::npos) << seen;
    controls[1]->SetEnabled(false);
    controls[3]->SetEnabled(false);
    EXPECT_FALSE(open->isEnabled());
    EXPECT_FALSE(untagged->isEnabled());
}

TEST_F(Adapters, CombosListsStatusBarsAndLabelsShowWhatTheLibrarySends) {
    QComboBox combo;
    QListWidget list;
    for (auto variant : {kvlqt::ListOf(&combo), kvlqt::ListOf(&list)}) {
        auto control = kvl::ClientObject<kvl::ListControl>(variant);
        control->AddItem("antes");
        control->Clear();
        control->AddItem("Évora");
    }
    ASSERT_EQ(std::make_pair(combo.count(), list.count()), std::make_pair(1, 1));
    EXPECT_EQ(combo.itemText(0), "Évora");
    EXPECT_EQ(list.item(0)->text(), "Évora");

    QStatusBar bar;
    QLabel label;
    kvlqt::QtProgressForm onBar(&bar), onLabel(&label);
    for (const char* text : {"A ler as tabelas", ""}) {
        for (kvlqt::QtProgressForm* form : {&onBar, &onLabel})
            form->Msg(kvl::Variant(""), kvl::Variant(text), std::nullopt);
        EXPECT_EQ(bar.currentMessage(), text);
        EXPECT_EQ(label.text(), text);
    }
}

TEST_F(Adapters, AWidgetGoneIsAnObjectNotSet) {
    auto parent = std::make_unique<QWidget>();
    kvlqt::QtWindow window(parent.get());
    kvlqt::QtListControl list(new QComboBox(parent.get()));
    kvlqt::QtMenuItem item(new QAction(parent.get()));
    parent.reset();  // and its children with it
    EXPECT_EQ(kvltest::ErrorOf([&] { window.Move(0, 0, 1, 1); }), kvl::kObjectNotSet);
    EXPECT_EQ(kvltest::ErrorOf([&] { list.AddItem("x"); }), kvl::kObjectNotSet);
    EXPECT_EQ(kvltest::ErrorOf([&] { item.SetEnabled(true); }), kvl::kObjectNotSet);
}

// The boxes themselves (buttons, icon, default, scripted answers) are the Windows host's.
TEST_F(Adapters, TheLibrarysQuestionsAreMessageBoxesAnsweredByTheButtonClicked) {
    QString title, text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ignore)->click();
    });
    EXPECT_EQ(kvlqt::QtDialogs().Pergunta("Título", "Falhou", 274), kvl::kIgnore);
    EXPECT_EQ(title + " | " + text, "Título | Falhou");
    EXPECT_EQ(kvlqt::QtDialogs("retry").Pergunta("t", "falhou", 274), kvl::kRetry);
    EXPECT_THROW(kvlqt::QtDialogs("talvez"), std::invalid_argument);
}

}  // namespace
