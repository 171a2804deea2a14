#pragma once
// The view of an unattended run: every caption on its own line of standard output.

#include "logic/InstallView.h"
#include "winhost/Console.h"

namespace zovlt {

class PrintedView : public InstallView {
  public:
    void SetProgressCaption(const std::string& caption) override {
        if (!caption.empty()) winhost::PrintLine(caption);
    }
    void SetProgressVisible(bool) override {}
    void SetAcceptEnabled(bool) override {}
    void SetInstallEnabled(bool) override {}
    void SetInstallVisible(bool) override {}
    void SetCloseEnabled(bool) override {}
    void SetCloseCaption(const std::string&) override {}
    void SetBusy(bool) override {}
    void Yield() override {}
};

}  // namespace zovlt
