#include "logic/Uninstaller.h"

#include "logic/SupportPath.h"

namespace zovlt {

using namespace texts;

Uninstaller::Uninstaller(InstallView& view, InstallPlatform& platform, std::string programFolder)
    : Sequence(view, platform, std::move(programFolder)) {}

Outcome Uninstaller::Run() {
    if (platform_.MessageBox(Str(kConfirmRemoval), kConfirmRemovalFlags) != winhost::kYes) {
        return Outcome::NotStarted;
    }
    view_.SetBusy(true);
    // The application lets go of the menu file before the file goes.
    const Outcome outcome = RunStages([&] {
        StartCad(false);
        RemoveSupportEntry();
        RemoveMenuGroups();
        CloseCad();
        RemoveFiles(kRootSource, kRootDestination);
        RemoveFiles(kBlocksSource, kBlocksDestination);
        RemoveLibrary();
        RemoveFolders();
        Caption(Str(kRemovedCaption));
    });
    if (outcome == Outcome::Completed) {
        Ignoring([&] { platform_.MessageBox(Str(kRemoved), kCompletedFlags); });
    }
    view_.SetBusy(false);
    return outcome;
}

void Uninstaller::RemoveSupportEntry() {
    BeginStage(kSupportError);
    Caption(Str(kSupportCaption));
    const std::string current = Attempt([&] { return cad_->SupportPath(); });
    if (!ListsFolder(current, kInstallRoot)) return;
    Attempt([&] { cad_->SetSupportPath(WithoutFolder(cad_->SupportPath(), kInstallRoot)); });
}

// Every group of exactly that name, from the last, so the indexes still to visit stay put.
void Uninstaller::RemoveMenuGroups() {
    BeginStage(kRemoveMenuError);
    Caption(Str(kRemoveMenuCaption));
    for (int32_t i = Attempt([&] { return cad_->MenuGroupCount(); }) - 1; i >= 0; --i) {
        if (Attempt([&] { return cad_->MenuGroupName(i); }) == kMenuGroup) {
            Attempt([&] { cad_->UnloadMenuGroup(i); });
        }
    }
}

// The files the installation copies are those the medium holds.
void Uninstaller::RemoveFiles(std::string_view sourceFolder, std::string_view destination) {
    BeginStage(kRemoveError);
    for (const std::string& name : MediumFiles(sourceFolder)) {
        const std::string target = Str(destination) + name;
        if (!platform_.PathOK(target)) continue;
        Caption(Str(kRemoveCaption) + target);
        Attempt([&] { platform_.DeleteFile(target); });
    }
}

void Uninstaller::RemoveLibrary() {
    BeginStage(kRemoveError);
    if (!platform_.PathOK(Str(kInstalledLibrary))) return;
    Caption(Str(kUnregisterCaption));
    // As with the registration, its outcome is not examined.
    Ignoring([&] { platform_.RunHidden(Str(kUnregistration)); });
    Caption(Str(kRemoveCaption) + Str(kInstalledLibrary));
    Attempt([&] { platform_.DeleteFile(Str(kInstalledLibrary)); });
}

// A folder that holds anything else stays.
void Uninstaller::RemoveFolders() {
    for (std::string_view folder : {kLibraryFolder, kBlocksFolder, kInstallRoot}) {
        platform_.RemoveFolderIfEmpty(Str(folder));
    }
}

}  // namespace zovlt
