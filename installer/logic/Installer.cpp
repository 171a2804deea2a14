#include "logic/Installer.h"

#include "logic/Contacts.h"
#include "logic/SupportPath.h"

namespace zovlt {

using namespace texts;

Installer::Installer(InstallView& view, InstallPlatform& platform, std::string programFolder)
    : Sequence(view, platform, std::move(programFolder)) {}

void Installer::Form_Load() {
    bInstalando = false;
}

void Installer::Check1_Click(int checkValue) {
    view_.SetInstallEnabled(checkValue == 1);
}

void Installer::Image1_Click() {
    platform_.OpenLink(Str(contacts::kMakerSite));
}

void Installer::Image2_Click() {
    platform_.OpenLink(Str(contacts::kAgencySite));
}

void Installer::Label3_Click() {
    platform_.OpenLink("mailto:" + Str(contacts::kSupportMail));
}

void Installer::Label4_Click() {
    platform_.OpenLink(Str(contacts::kMakerSite));
}

Outcome Installer::Command1_Click() {
    // The buttons are disabled meanwhile, but events are processed while the sequence runs.
    if (bInstalando || outcome_ != Outcome::NotStarted) return Outcome::NotStarted;
    if (platform_.MessageBox(Str(kConfirm), kConfirmFlags) != winhost::kOk) {
        return Outcome::NotStarted;
    }
    Prepare();
    // The new files wait under temporary names until the application has started; the
    // configuration changes only once they are in place. Whatever fails puts everything back.
    outcome_ = RunStages([&] {
        placement_ = platform_.NewPlacement();
        try {
            CreateFolders();
            StageFiles(kRootSource, kRootDestination);
            StageFiles(kBlocksSource, kBlocksDestination);
            StageLibrary();
            StartCad(true);
            SwitchFiles();
            RegisterLibrary();
            ConfigureSupportPath();
            ConfigureMenu();
        } catch (...) {
            PutBack();
            throw;
        }
        placement_->Finish();
    });
    if (outcome_ == Outcome::Completed) {
        Ignoring([&] { platform_.MessageBox(Str(kCompleted), kCompletedFlags); });
    }
    Finish();
    return outcome_;
}

void Installer::Prepare() {
    view_.SetBusy(true);
    view_.SetInstallEnabled(false);
    view_.SetCloseEnabled(false);
    bInstalando = true;
    view_.SetProgressCaption("");
    view_.SetProgressVisible(true);
    view_.SetAcceptEnabled(false);
}

void Installer::CreateFolders() {
    BeginStage(kFoldersError);
    Caption(Str(kFoldersCaption));
    for (std::string_view folder : {kInstallRoot, kBlocksFolder, kLibraryFolder}) {
        if (platform_.PathOK(Str(folder))) continue;
        Attempt([&] { platform_.CreateFolder(Str(folder)); });
        createdFolders_.push_back(Str(folder));
    }
    // What a killed run left would otherwise stay for good; what cannot go now harms nothing.
    platform_.RemoveLeftovers(Str(kInstallRoot));
}

// Nothing is deleted first: a file the medium lacks never costs the installed one.
void Installer::StageFiles(std::string_view sourceFolder, std::string_view destination) {
    BeginStage(kCopyError);
    const std::string source = Medium(sourceFolder);
    for (const std::string& name : MediumFiles(sourceFolder)) {
        const std::string target = Str(destination) + name;
        Caption(Str(kCopyCaption) + target);
        Attempt([&] { placement_->Stage(source + name, target); });
    }
}

void Installer::StageLibrary() {
    BeginStage(kLibraryError);
    Caption(Str(kCopyCaption) + Str(kInstalledLibrary));
    Attempt([&] { placement_->Stage(Medium(kLibrarySource), Str(kInstalledLibrary)); });
}

void Installer::SwitchFiles() {
    BeginStage(kCopyError);
    Caption(Str(kSwitchCaption));
    Attempt([&] { placement_->Switch(); });
}

void Installer::RegisterLibrary() {
    BeginStage(kLibraryError);
    Caption(Str(kLibraryCaption));
    Attempt([&] { platform_.StartHidden(Str(kRegistration)); });
}

void Installer::ConfigureSupportPath() {
    BeginStage(kSupportError);
    Caption(Str(kSupportCaption));
    const std::string current = Attempt([&] { return cad_->SupportPath(); });
    if (ListsFolder(current, kInstallRoot)) return;
    Attempt([&] {
        const std::string previous = cad_->SupportPath();
        cad_->SetSupportPath(previous + Str(kSupportSuffix));
        previousSupportPath_ = previous;
    });
}

void Installer::ConfigureMenu() {
    BeginStage(kMenuError);
    Caption(Str(kMenuCaption));
    UnloadOwnMenuGroup();
    Attempt([&] { cad_->SetVisible(true); });
    view_.Yield();
    menuGroup_ = Attempt([&] { return cad_->LoadMenuGroup(Str(kMenuFile)); });
    ownGroupLoaded_ = true;
    view_.Yield();
    // The position is read when the menu goes in, so it lands just before the last menu.
    Attempt([&] { menuGroup_->InsertMenuInMenuBar(0, cad_->MenuBarCount() - 1); });
    view_.Yield();
    Caption(Str(kEndCaption));
}

void Installer::UnloadOwnMenuGroup() {
    const int32_t count = Attempt([&] { return cad_->MenuGroupCount(); });
    for (int32_t i = 0; i < count; ++i) {
        if (Attempt([&] { return cad_->MenuGroupName(i); }) == kMenuGroup) {
            Attempt([&] { cad_->UnloadMenuGroup(i); });
            ownGroupUnloaded_ = true;
            return;
        }
    }
}

// The configuration goes back while the new files are still in place, then the files; the
// group that was loaded before comes back from its own file. Every step is tried.
void Installer::PutBack() {
    if (cad_ && ownGroupLoaded_) {
        menuGroup_.reset();
        Ignoring([&] {
            for (int32_t i = cad_->MenuGroupCount() - 1; i >= 0; --i) {
                if (cad_->MenuGroupName(i) == kMenuGroup) cad_->UnloadMenuGroup(i);
            }
        });
    }
    if (cad_ && previousSupportPath_) {
        Ignoring([&] { cad_->SetSupportPath(*previousSupportPath_); });
    }
    placement_->Undo();
    if (cad_ && ownGroupUnloaded_) {
        Ignoring([&] {
            menuGroup_ = cad_->LoadMenuGroup(Str(kMenuFile));
            menuGroup_->InsertMenuInMenuBar(0, cad_->MenuBarCount() - 1);
        });
    }
    for (auto folder = createdFolders_.rbegin(); folder != createdFolders_.rend(); ++folder) {
        platform_.RemoveFolderIfEmpty(*folder);
    }
}

void Installer::Finish() {
    view_.SetInstallVisible(false);
    view_.SetCloseEnabled(true);
    view_.SetCloseCaption(Str(kCloseCaption));
    // After Cancel the progress line keeps saying which step failed.
    view_.SetProgressVisible(outcome_ == Outcome::Cancelled);
    bInstalando = false;
    view_.SetBusy(false);
}

}  // namespace zovlt
