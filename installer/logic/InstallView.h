#pragma once
// What the installation sequence needs of its window.

#include <string>

namespace zovlt {

class InstallView {
  public:
    virtual ~InstallView() = default;

    virtual void SetProgressCaption(const std::string& caption) = 0;  // lblInstalação
    virtual void SetProgressVisible(bool visible) = 0;
    virtual void SetAcceptEnabled(bool enabled) = 0;   // Check1
    virtual void SetInstallEnabled(bool enabled) = 0;  // Command1
    virtual void SetInstallVisible(bool visible) = 0;
    virtual void SetCloseEnabled(bool enabled) = 0;  // Command2
    virtual void SetCloseCaption(const std::string& caption) = 0;
    virtual void SetBusy(bool busy) = 0;  // hourglass pointer
    // Lets the window process pending events (repaint, input) before the sequence goes on.
    virtual void Yield() = 0;
};

}  // namespace zovlt
