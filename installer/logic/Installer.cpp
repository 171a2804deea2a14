#include "logic/Installer.h"

#include <algorithm>

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "logic/Contacts.h"
#include "logic/Texts.h"

namespace zovlt {

using namespace texts;

namespace {

std::string Str(std::string_view text) {
    return std::string(text);
}

// Whether a ";"-separated folder list holds folder as one of its entries: whole entries, in any
// letter case, a trailing "\" and surrounding blanks ignored, so "C:\ZOV_LTX" or
// "C:\ZOV_LT\blocos" do not count as "C:\ZOV_LT".
bool ListsFolder(std::string_view list, std::string_view folder) {
    const auto normal = [](std::string_view entry) {
        entry = kvl::Apara(entry);
        if (entry.ends_with('\\')) entry.remove_suffix(1);
        return kvl::Minusculas(entry);
    };
    const std::string sought = normal(folder);
    for (size_t start = 0; start <= list.size();) {
        const size_t end = std::min(list.find(';', start), list.size());
        if (normal(list.substr(start, end - start)) == sought) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

// Runs one step; on failure asks Retry or Cancel. Retry runs the same step again,
// Cancel abandons the sequence.
template <class Step>
auto Installer::Attempt(Step&& step) -> decltype(step()) {
    for (;;) {
        try {
            return step();
        } catch (const kvl::Error& error) {
            const std::string text = Str(stageError_) + "\r\n(" + std::to_string(error.number()) +
                                     ") " + error.description();
            if (platform_.MessageBox(text, kStageErrorFlags) != winhost::kRetry) throw Cancelled{};
        }
    }
}

template <class Step>
void Installer::Ignoring(Step&& step) {
    try {
        step();
    } catch (const kvl::Error&) {
        // Nothing to do: these steps must not stop what follows.
    }
}

Installer::Installer(InstallView& view, InstallPlatform& platform, std::string programFolder)
    : view_(view), platform_(platform), programFolder_(std::move(programFolder)) {}

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
    if (bInstalando || ran_) return Outcome::NotStarted;
    if (platform_.MessageBox(Str(kConfirm), kConfirmFlags) != winhost::kOk) {
        return Outcome::NotStarted;
    }
    ran_ = true;
    Prepare();
    Outcome outcome = Outcome::Completed;
    try {
        CreateFolders();
        CopyFiles(kRootSource, kRootDestination);
        CopyFiles(kBlocksSource, kBlocksDestination);
        PlaceLibrary();
        StartCad();
        ConfigureSupportPath();
        ConfigureMenu();
        CloseCad();
        Ignoring([&] { platform_.MessageBox(Str(kCompleted), kCompletedFlags); });
    } catch (const Cancelled&) {
        outcome = Outcome::Cancelled;
        // The installer started the application, hidden until the menu stage: left running,
        // it would go on unseen.
        if (cad_) CloseCad();
    }
    Finish();
    return outcome;
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
        if (!platform_.PathOK(Str(folder))) Attempt([&] { platform_.CreateFolder(Str(folder)); });
    }
}

void Installer::CopyFiles(std::string_view sourceFolder, std::string_view destination) {
    BeginStage(kCopyError);
    const std::string source = programFolder_ + Str(sourceFolder);
    const auto names = Attempt([&] { return platform_.ListFiles(source + Str(kAllFiles)); });
    for (const std::string& name : names) {
        const std::string target = Str(destination) + name;
        Caption(Str(kCopyCaption) + target);
        FileKill(target);
        Attempt([&] { platform_.CopyFile(source + name, target); });
    }
}

void Installer::PlaceLibrary() {
    BeginStage(kLibraryError);
    Caption(Str(kLibraryCaption));
    FileKill(Str(kInstalledLibrary));
    Attempt(
        [&] { platform_.CopyFile(programFolder_ + Str(kLibrarySource), Str(kInstalledLibrary)); });
    Attempt([&] { platform_.StartHidden(Str(kRegistration)); });
}

void Installer::StartCad() {
    BeginStage(kStartError);
    Caption(Str(kStartCaption));
    cad_ = Attempt([&] { return platform_.CreateObject(Str(kCadClass)); });
    Attempt([&] { cad_->SetVisible(false); });
}

void Installer::ConfigureSupportPath() {
    BeginStage(kSupportError);
    Caption(Str(kSupportCaption));
    const std::string current = Attempt([&] { return cad_->SupportPath(); });
    if (ListsFolder(current, kInstallRoot)) return;
    Attempt([&] { cad_->SetSupportPath(cad_->SupportPath() + Str(kSupportSuffix)); });
}

void Installer::ConfigureMenu() {
    BeginStage(kMenuError);
    Caption(Str(kMenuCaption));
    UnloadOwnMenuGroup();
    Attempt([&] { cad_->SetVisible(true); });
    view_.Yield();
    menuGroup_ = Attempt([&] { return cad_->LoadMenuGroup(Str(kMenuFile)); });
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
            return;
        }
    }
}

void Installer::CloseCad() {
    Ignoring([&] { cad_->CloseDocument(0, false); });
    view_.Yield();
    Ignoring([&] { cad_->Quit(); });
    view_.Yield();
}

void Installer::Finish() {
    view_.SetInstallVisible(false);
    view_.SetCloseEnabled(true);
    view_.SetCloseCaption(Str(kCloseCaption));
    view_.SetProgressVisible(false);
    bInstalando = false;
    view_.SetBusy(false);
    // The group first: it belongs to the application.
    menuGroup_.reset();
    cad_.reset();
}

void Installer::BeginStage(std::string_view errorText) {
    stageError_ = errorText;
}

void Installer::Caption(const std::string& caption) {
    view_.SetProgressCaption(caption);
    view_.Yield();
}

void Installer::FileKill(const std::string& path) {
    Ignoring([&] { platform_.DeleteFile(path); });
    view_.Yield();
}

}  // namespace zovlt
