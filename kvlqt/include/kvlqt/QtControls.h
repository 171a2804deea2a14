#pragma once
// The controls of a window: menu actions are menu items, other widgets are plain controls.
// Tag is the object's dynamic property "Tag", an empty text when it has none.

#include <QAction>
#include <QPointer>
#include <QWidget>
#include <type_traits>

#include "kvl/Export.h"
#include "kvl/ClientObjects.h"

namespace kvlqt {

// The property that carries an object's option code.
inline constexpr const char* kTagProperty = "Tag";

// A QAction or a QWidget; error 91 once it has been destroyed.
template <class Q>
class KVL_API QtControl : public kvl::WindowControl {
  public:
    explicit QtControl(Q* object) : object_(object) {}
    std::string Tag() override;
    bool IsMenuItem() override { return std::is_same_v<Q, QAction>; }
    void SetEnabled(bool Enabled) override;

  private:
    Q& Object() const;
    QPointer<Q> object_;
};

using QtMenuItem = QtControl<QAction>;
using QtWidgetControl = QtControl<QWidget>;

extern template class QtControl<QAction>;
extern template class QtControl<QWidget>;

}  // namespace kvlqt
