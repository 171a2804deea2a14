#pragma once
// The controls of a window: menu actions are menu items, other widgets are plain controls.
// Tag is the object's dynamic property "Tag", an empty text when it has none.

#include <QAction>
#include <QPointer>
#include <QWidget>

#include "kvl/ClientObjects.h"

namespace kvlqt {

// The property that carries an object's option code.
inline constexpr const char* kTagProperty = "Tag";

class QtMenuItem : public kvl::WindowControl {
  public:
    explicit QtMenuItem(QAction* action) : action_(action) {}
    std::string Tag() override;
    bool IsMenuItem() override { return true; }
    void SetEnabled(bool Enabled) override;

  private:
    QAction& Action() const;
    QPointer<QAction> action_;
};

class QtWidgetControl : public kvl::WindowControl {
  public:
    explicit QtWidgetControl(QWidget* widget) : widget_(widget) {}
    std::string Tag() override;
    void SetEnabled(bool Enabled) override;

  private:
    QWidget& Widget() const;
    QPointer<QWidget> widget_;
};

}  // namespace kvlqt
