#pragma once
// The window's place in --unattended runs: every caption it would show is printed.

#include <string>
#include <vector>

#include "logic/SetupView.h"

namespace setup {

class ConsoleView : public SetupView {
  public:
    void AddItem(const std::string& label) override;
    void SelectItem(int index) override { selected_ = index; }
    std::string SelectedItemText() const override;
    void ShowInfo(const std::string& text) override;
    void ShowLocation(const std::string& text) override;
    void SetBusy(bool) override {}
    WindowHandle Handle() const override { return 0; }

  private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace setup
