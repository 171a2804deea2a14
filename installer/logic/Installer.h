#pragma once
// The add-on's installation sequence and the window state around it, free of any widget:
// the window forwards its events here and shows what the view is told.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/Sequence.h"

namespace zovlt {

class Installer : private Sequence {
  public:
    // programFolder: the Windows path of the folder that holds the program, no trailing "\".
    Installer(InstallView& view, InstallPlatform& platform, std::string programFolder);

    // The window's events, named after its controls.
    void Form_Load();
    // Whether a request to close the window may proceed.
    bool Form_QueryUnload() const { return !bInstalando; }
    // checkValue: 0 unticked, 1 ticked, 2 greyed.
    void Check1_Click(int checkValue);
    // The installation sequence.
    Outcome Command1_Click();
    void Image1_Click();  // the maker's site
    void Image2_Click();  // the agency's site
    void Label3_Click();  // a mail to support
    void Label4_Click();  // the maker's site

    bool Installing() const { return bInstalando; }
    // How the sequence ended; NotStarted while it has not run.
    Outcome Result() const { return outcome_; }

  private:
    void Prepare();
    void CreateFolders();
    void StageFiles(std::string_view sourceFolder, std::string_view destination);
    void StageLibrary();
    void SwitchFiles();
    void RegisterLibrary();
    void ConfigureSupportPath();
    void ConfigureMenu();
    void UnloadOwnMenuGroup();
    void LoadOwnMenuGroup();
    void PutBack();
    void Finish();

    bool bInstalando = false;
    Outcome outcome_ = Outcome::NotStarted;

    // What a failed run puts back: the files, the folders it made, and the CAD configuration.
    std::unique_ptr<winhost::Placement> placement_;
    std::vector<std::string> createdFolders_;
    std::optional<std::string> previousSupportPath_;
    bool ownGroupUnloaded_ = false;
    bool ownGroupLoaded_ = false;
};

}  // namespace zovlt
