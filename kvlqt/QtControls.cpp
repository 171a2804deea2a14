#include "kvlqt/QtControls.h"

#include <QVariant>

namespace kvlqt {

template <class Q>
Q& QtControl<Q>::Object() const {
    if (!object_) throw kvl::Error(kvl::kObjectNotSet);
    return *object_;
}

template <class Q>
std::string QtControl<Q>::Tag() {
    return Object().property(kTagProperty).toString().toStdString();
}

template <class Q>
void QtControl<Q>::SetEnabled(bool Enabled) {
    Object().setEnabled(Enabled);
}

template class QtControl<QAction>;
template class QtControl<QWidget>;

}  // namespace kvlqt
