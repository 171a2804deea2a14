#include "kvlqt/QtWindow.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <algorithm>

#include "kvlqt/QtControls.h"

namespace kvlqt {

namespace {

// The actions of a menu and of its submenus, each once, depth first.
void CollectMenuItems(const QList<QAction*>& actions, QSet<QAction*>& seen,
                      std::vector<std::shared_ptr<kvl::WindowControl>>& items) {
    for (QAction* action : actions) {
        if (action->isSeparator() || seen.contains(action)) continue;
        seen.insert(action);
        items.push_back(std::make_shared<QtMenuItem>(action));
        if (QMenu* menu = action->menu()) CollectMenuItems(menu->actions(), seen, items);
    }
}

}  // namespace

QWidget& QtWindow::Widget() const {
    if (!widget_) throw kvl::Error(kvl::kObjectNotSet);
    return *widget_;
}

std::string QtWindow::Caption() {
    return Widget().windowTitle().toStdString();
}

int16_t QtWindow::WindowState() {
    const Qt::WindowStates state = Widget().windowState();
    if (state & Qt::WindowMinimized) return kvl::kWindowMinimized;
    if (state & Qt::WindowMaximized) return kvl::kWindowMaximized;
    return kvl::kWindowNormal;
}

void QtWindow::SetWindowState(int16_t WindowState) {
    QWidget& w = Widget();
    Qt::WindowStates state = w.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (WindowState == kvl::kWindowMinimized) state |= Qt::WindowMinimized;
    if (WindowState == kvl::kWindowMaximized) state |= Qt::WindowMaximized;
    w.setWindowState(state);
}

int32_t QtWindow::Left() {
    return Widget().frameGeometry().x();
}

void QtWindow::SetLeft(int32_t Left) {
    QWidget& w = Widget();
    w.move(Left, w.pos().y());
}

int32_t QtWindow::Top() {
    return Widget().frameGeometry().y();
}

void QtWindow::SetTop(int32_t Top) {
    QWidget& w = Widget();
    w.move(w.pos().x(), Top);
}

int32_t QtWindow::Width() {
    return Widget().frameGeometry().width();
}

int32_t QtWindow::Height() {
    return Widget().frameGeometry().height();
}

void QtWindow::SetVisible(bool Visible) {
    Widget().setVisible(Visible);
}

int16_t QtWindow::BorderStyle() {
    const QWidget& w = Widget();
    return w.minimumSize() == w.maximumSize() ? kBorderFixed : kBorderSizable;
}

void QtWindow::Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    QWidget& w = Widget();
    // The size given includes the frame, which resize() does not. The frame is known once
    // the window exists on the platform: one placed before its first show is created first,
    // else it would open larger, by its frame, than it was when its size was read.
    if (w.isWindow() && !w.testAttribute(Qt::WA_WState_Created)) w.winId();
    const QSize frame = w.frameGeometry().size() - w.geometry().size();
    w.move(Left, Top);
    w.resize(std::max(0, Width - frame.width()), std::max(0, Height - frame.height()));
}

bool QtWindow::IsMdiParent() {
    auto* main = qobject_cast<QMainWindow*>(&Widget());
    return main && qobject_cast<QMdiArea*>(main->centralWidget());
}

std::vector<std::shared_ptr<kvl::WindowControl>> QtWindow::Controls() {
    QWidget& w = Widget();
    std::vector<std::shared_ptr<kvl::WindowControl>> controls;
    QSet<QAction*> seen;
    for (QMenuBar* bar : w.findChildren<QMenuBar*>())
        CollectMenuItems(bar->actions(), seen, controls);
    for (QWidget* child : w.findChildren<QWidget*>()) {
        if (qobject_cast<QMenuBar*>(child) || qobject_cast<QMenu*>(child)) continue;
        controls.push_back(std::make_shared<QtWidgetControl>(child));
    }
    return controls;
}

kvl::Variant WindowOf(QWidget* widget) {
    return kvl::Variant(std::shared_ptr<kvl::Object>(std::make_shared<QtWindow>(widget)));
}

}  // namespace kvlqt
