#pragma once
// Where the edit form opens when the user has no saved place for it. Without a window manager
// every new window opens at the top left corner of the screen, so the form would cover the main
// window's menu bar: it goes beside the main window instead, and on a screen too narrow for
// that, over the main window's list but below its menu bar.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace moradas {

// main: the main window's frame; menuBarBottom: the lowest screen row its menu bar takes; form:
// the form's size; screen: the screen's area that windows may take.
QPoint FormPlace(const QRect& main, int menuBarBottom, const QSize& form, const QRect& screen);

}  // namespace moradas
