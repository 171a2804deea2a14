#pragma once
// The installer window as its logic drives it.

#include <string>

#include "logic/SetupPlatform.h"

namespace setup {

class SetupView {
  public:
    virtual ~SetupView() = default;

    // tvOptions: adds a top-level item; selects one by position; the selected item's
    // text, "" when none is selected.
    virtual void AddItem(const std::string& label) = 0;
    virtual void SelectItem(int index) = 0;
    virtual std::string SelectedItemText() const = 0;

    virtual void ShowInfo(const std::string& text) = 0;      // txtInfo
    virtual void ShowLocation(const std::string& text) = 0;  // lblLocation
    // The hourglass while the installation runs.
    virtual void SetBusy(bool busy) = 0;
    // The owner of the dialogs the logic opens.
    virtual WindowHandle Handle() const = 0;
};

}  // namespace setup
