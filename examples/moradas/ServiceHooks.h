#pragma once
// Where each window of the client meets the library's window services: the rights of its
// menu options once it is built, its saved place when it opens, and its place saved when it
// closes.

#include <QWidget>

namespace kvl {
class kvlSERV;
}

namespace moradas {

// Called once the window is built, before it is shown; whether the user had a saved place
// for it, where it now is.
bool WindowOpened(kvl::kvlSERV& session, QWidget& window);
// Called when the window closes, before it goes.
void WindowClosing(kvl::kvlSERV& session, QWidget& window);

}  // namespace moradas
