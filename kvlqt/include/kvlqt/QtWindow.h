#pragma once
// Any top-level QWidget as the library's window: its title, state, frame geometry in pixels
// and its controls.

#include <QPointer>
#include <QWidget>

#include "kvl/Export.h"
#include "kvl/ClientObjects.h"

namespace kvlqt {

// BorderStyle values a window reports.
inline constexpr int16_t kBorderFixed = 1;
inline constexpr int16_t kBorderSizable = 2;

class KVL_API QtWindow : public kvl::Window {
  public:
    explicit QtWindow(QWidget* widget) : widget_(widget) {}

    std::string Caption() override;
    int16_t WindowState() override;
    void SetWindowState(int16_t WindowState) override;
    int32_t Left() override;
    void SetLeft(int32_t Left) override;
    int32_t Top() override;
    void SetTop(int32_t Top) override;
    int32_t Width() override;
    int32_t Height() override;
    void SetVisible(bool Visible) override;
    // Fixed when the minimum and maximum sizes are equal, sizable otherwise.
    int16_t BorderStyle() override;
    void Move(int32_t Left, int32_t Top, int32_t Width, int32_t Height) override;
    // A QMainWindow whose central widget is a QMdiArea.
    bool IsMdiParent() override;
    // Every action of the window's menu bars and their menus (menu items), then every other
    // child widget.
    std::vector<std::shared_ptr<kvl::WindowControl>> Controls() override;

  private:
    // The widget; error 91 once it has been destroyed.
    QWidget& Widget() const;

    QPointer<QWidget> widget_;
};

// A window as the variant the library takes.
KVL_API kvl::Variant WindowOf(QWidget* widget);

}  // namespace kvlqt
