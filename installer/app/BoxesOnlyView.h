#pragma once
// The view of a removal asked for from the window's program: no window of its own, only its
// message boxes, with the hourglass while it works.

#include <QApplication>

#include "logic/InstallView.h"

namespace zovlt {

class BoxesOnlyView : public InstallView {
  public:
    ~BoxesOnlyView() override { SetBusy(false); }

    void SetProgressCaption(const std::string&) override {}
    void SetProgressVisible(bool) override {}
    void SetAcceptEnabled(bool) override {}
    void SetInstallEnabled(bool) override {}
    void SetInstallVisible(bool) override {}
    void SetCloseEnabled(bool) override {}
    void SetCloseCaption(const std::string&) override {}
    void SetBusy(bool busy) override {
        if (busy == busy_) return;
        busy_ = busy;
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    void Yield() override { QCoreApplication::processEvents(); }

  private:
    bool busy_ = false;
};

}  // namespace zovlt
