// Where the edit form opens without a saved place where the screen has no room on the right of
// the main window (the session under Xvfb sees it there).

#include <gtest/gtest.h>

#include "FormPlacement.h"

namespace {

TEST(FormPlacement, OnTheLeftOfTheMainWindowElseBelowItsMenuBar) {
    const QRect main(100, 50, 600, 400);
    const QSize form(300, 200);
    const int menuBarBottom = 50 + 24 - 1;
    struct Case {
        const char* what;
        QRect screen;
        QPoint place;
    };
    for (const Case& c : {
             Case{"room on the left only", QRect(-400, 0, 1110, 800), QPoint(-208, 50)},
             Case{"no room beside", QRect(0, 0, 800, 600), QPoint(108, 82)},
             Case{"a form wider than the screen", QRect(0, 0, 200, 600), QPoint(0, 82)},
         })
        EXPECT_EQ(moradas::FormPlace(main, menuBarBottom, form, c.screen), c.place) << c.what;
}

}  // namespace
