#pragma once
// The add-on's installation sequence and the window state around it, free of any widget:
// the window forwards its events here and shows what the view is told.

#include <memory>
#include <string>
#include <string_view>

#include "logic/InstallPlatform.h"
#include "logic/InstallView.h"

namespace zovlt {

enum class Outcome {
    NotStarted,  // confirmation cancelled, or the sequence already ran
    Completed,
    Cancelled,  // Cancel in a stage error dialog
};

class Installer {
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

  private:
    struct Cancelled {};

    void Prepare();
    void CreateFolders();
    void CopyFiles(std::string_view sourceFolder, std::string_view destination);
    void PlaceLibrary();
    void StartCad();
    void ConfigureSupportPath();
    void ConfigureMenu();
    void UnloadOwnMenuGroup();
    void CloseCad();
    void Finish();

    void BeginStage(std::string_view errorText);
    void Caption(const std::string& caption);
    void FileKill(const std::string& path);
    template <class Step>
    auto Attempt(Step&& step) -> decltype(step());
    template <class Step>
    void Ignoring(Step&& step);

    InstallView& view_;
    InstallPlatform& platform_;
    std::string programFolder_;
    bool bInstalando = false;
    bool ran_ = false;
    std::string_view stageError_;
    std::unique_ptr<CadApplication> cad_;
    std::unique_ptr<CadMenuGroup> menuGroup_;
};

}  // namespace zovlt
