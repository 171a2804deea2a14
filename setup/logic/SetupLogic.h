#pragma once
// The installer window's behaviour: detection of the product and its folders, the
// component list, the folder choice and the installation. Plain logic, driven by the
// window through its handlers and reaching the machine only through the platform.

#include <array>
#include <optional>
#include <string>

#include "logic/Components.h"
#include "logic/SetupPlatform.h"
#include "logic/SetupView.h"

namespace setup {

class SetupLogic {
  public:
    SetupLogic(SetupView& view, SetupPlatform& platform);

    // Measures the components, detects the product and shows component 1. False when
    // the window must close unseen: a load error or the version warning was shown.
    bool Form_Load();

    // The item with this label becomes the current component; others change nothing.
    void tvOptions_NodeClick(const std::string& label);

    // Lets the user choose the selected component's target folder.
    void cmdBrowse_Click();

    // Sets a component's target as the folder chooser would, selecting its item.
    void ChooseTarget(size_t component, const std::string& folder);

    // Copies the components and re-points the library. False when a step failed and
    // its error was shown: the program must end.
    bool cmdInstall_Click();

    const std::string& Target(size_t component) const { return targets_[component]; }
    const std::string& Size(size_t component) const { return sizes_[component]; }

  private:
    std::string StagingFolder();
    void MeasureComponents(const std::string& staging);
    bool DetectProduct();
    void ShowComponent(size_t component);
    void ApplyChosenFolder(const std::string& folder);
    void Install();
    // original: where the library found before was kept, if it was.
    void Record(const std::optional<std::string>& original);

    SetupView& view_;
    SetupPlatform& platform_;
    std::array<std::string, kComponentCount> sizes_;
    std::array<std::string, kComponentCount> targets_;
};

}  // namespace setup
