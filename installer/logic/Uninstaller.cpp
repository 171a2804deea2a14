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
        CheckRemovable(InstalledFiles());
        StartCad(false);
        RemoveSupportEntry();
        RemoveMenuGroups();
        CloseCad();
        RemoveFiles(kRootSource, kRootDestination);
        RemoveFiles(kBlocksSource, kBlocksDestination);
        RemoveLibrary();
        RemoveLeftovers();
        RemoveFolders();
        CheckNothingRemains();
        Caption(Str(kRemovedCaption));
    });
    if (outcome == Outcome::Completed) {
        Ignoring([&] { platform_.MessageBox(Str(kRemoved), kCompletedFlags); });
    }
    view_.SetBusy(false);
    return outcome;
}

namespace {

std::string Listed(std::string_view text, const std::vector<std::string>& paths) {
    std::string message(text);
    for (const std::string& path : paths) message += "\r\n" + path;
    return message;
}

}  // namespace

std::vector<std::string> Uninstaller::InstalledFiles() {
    BeginStage(kRemoveError);
    std::vector<std::string> installed;
    for (auto [source, destination] :
         {std::pair{kRootSource, kRootDestination}, std::pair{kBlocksSource, kBlocksDestination}}) {
        for (const std::string& name : MediumFiles(source)) {
            installed.push_back(Str(destination) + name);
        }
    }
    installed.push_back(Str(kInstalledLibrary));
    std::erase_if(installed, [&](const std::string& path) { return !platform_.PathOK(path); });
    return installed;
}

// A read-only drive would otherwise lose the configuration and keep every file.
void Uninstaller::CheckRemovable(const std::vector<std::string>& installed) {
    Caption(Str(kCheckRemovalCaption));
    std::vector<std::string> fixed;
    for (const std::string& path : installed) {
        if (!platform_.CanRemove(path)) fixed.push_back(path);
    }
    if (!fixed.empty()) Abandon(Listed(kCannotRemove, fixed));
}

// A copy killed midway leaves its temporary file in the folder, which then never empties.
void Uninstaller::RemoveLeftovers() {
    leftovers_ = platform_.RemoveLeftovers(Str(kInstallRoot));
}

void Uninstaller::CheckNothingRemains() {
    std::vector<std::string> remaining = InstalledFiles();
    remaining.insert(remaining.end(), leftovers_.begin(), leftovers_.end());
    if (!remaining.empty()) Abandon(Listed(kRemovalIncomplete, remaining));
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
