#pragma once
// The hourglass over the whole application while a program works, put up and taken down once
// however often it is asked for; gone with its owner.

#include <QApplication>

namespace winhost {

class WaitCursor {
  public:
    WaitCursor() = default;
    ~WaitCursor() { Set(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void Set(bool busy) {
        if (busy == busy_) return;
        busy_ = busy;
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }

  private:
    bool busy_ = false;
};

}  // namespace winhost
