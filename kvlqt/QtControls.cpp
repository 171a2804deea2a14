#include "kvlqt/QtControls.h"

#include <QVariant>

namespace kvlqt {

namespace {

std::string TagOf(const QObject& object) {
    return object.property(kTagProperty).toString().toStdString();
}

}  // namespace

QAction& QtMenuItem::Action() const {
    if (!action_) throw kvl::Error(kvl::kObjectNotSet);
    return *action_;
}

std::string QtMenuItem::Tag() {
    return TagOf(Action());
}

void QtMenuItem::SetEnabled(bool Enabled) {
    Action().setEnabled(Enabled);
}

QWidget& QtWidgetControl::Widget() const {
    if (!widget_) throw kvl::Error(kvl::kObjectNotSet);
    return *widget_;
}

std::string QtWidgetControl::Tag() {
    return TagOf(Widget());
}

void QtWidgetControl::SetEnabled(bool Enabled) {
    Widget().setEnabled(Enabled);
}

}  // namespace kvlqt
