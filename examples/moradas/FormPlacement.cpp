#include "FormPlacement.h"

#include <algorithm>

namespace moradas {

namespace {

// Between the form and the main window, so that their edges do not touch.
constexpr int kGap = 8;

}  // namespace

QPoint FormPlace(const QRect& main, int menuBarBottom, const QSize& form, const QRect& screen) {
    const int right = main.right() + 1 + kGap;
    if (right + form.width() <= screen.right() + 1) return {right, main.top()};
    const int left = main.left() - kGap - form.width();
    if (left >= screen.left()) return {left, main.top()};
    const int widest = std::max(screen.left(), screen.right() + 1 - form.width());
    return {std::clamp(main.left() + kGap, screen.left(), widest), menuBarBottom + 1 + kGap};
}

}  // namespace moradas
