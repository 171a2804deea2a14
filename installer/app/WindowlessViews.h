#pragma once
// Views of runs without the program's window: the window's controls are nowhere to be set.

#include <QCoreApplication>

#include "logic/InstallView.h"
#include "winhost/Console.h"
#include "winhost/WaitCursor.h"

namespace zovlt {

class WindowlessView : public InstallView {
  public:
    void SetProgressCaption(const std::string&) override {}
    void SetProgressVisible(bool) override {}
    void SetAcceptEnabled(bool) override {}
    void SetInstallEnabled(bool) override {}
    void SetInstallVisible(bool) override {}
    void SetCloseEnabled(bool) override {}
    void SetCloseCaption(const std::string&) override {}
    void SetBusy(bool) override {}
    void Yield() override {}
};

// --unattended: every caption on its own line of standard output.
class PrintedView : public WindowlessView {
  public:
    void SetProgressCaption(const std::string& caption) override {
        if (!caption.empty()) winhost::PrintLine(caption);
    }
};

// A removal asked for from the window's program: only its message boxes show, with the
// hourglass while it works.
class BoxesOnlyView : public WindowlessView {
  public:
    void SetBusy(bool busy) override { cursor_.Set(busy); }
    void Yield() override { QCoreApplication::processEvents(); }

  private:
    winhost::WaitCursor cursor_;
};

}  // namespace zovlt
