// symbology-setup: installs the PDM symbology package, in a window or --unattended.

#include <QApplication>

#include "app/ConsoleView.h"
#include "app/Options.h"
#include "logic/Removal.h"
#include "logic/SetupLogic.h"
#include "logic/Texts.h"
#include "platform/LinuxPlatform.h"
#include "window/frmSetup.h"
#include "winhost/DialogMessageBoxes.h"
#include "winhost/QtTranslations.h"

namespace {

using namespace setup;

// Form_Load, then the folders given on the command line as if chosen in the window.
bool Load(SetupLogic& logic, const Options& options, const LinuxPlatformOptions& platform) {
    if (!logic.Form_Load()) return false;
    const winhost::DriveMap drives(platform.driveC);
    for (const auto& [component, folder] : options.targets) {
        logic.ChooseTarget(component, TargetFolder(folder, drives));
    }
    return true;
}

int RunUnattended(const Options& options) {
    winhost::PrintedMessageBoxes boxes;
    const LinuxPlatformOptions platformOptions = PlatformOptions(options);
    LinuxPlatform platform(platformOptions, boxes);
    if (options.uninstall) return SetupRemoval(platform).Run() ? 0 : 1;
    ConsoleView view;
    SetupLogic logic(view, platform);
    if (!Load(logic, options, platformOptions)) return 1;
    return logic.cmdInstall_Click() ? 0 : 1;
}

int RunWindow(int argc, char** argv, const Options& options,
              std::optional<winhost::ScriptedAnswers> scripted) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProgramName.data(), kProgramName.size()));
    QApplication::setApplicationDisplayName(
        QString::fromUtf8(kTitle.data(), static_cast<qsizetype>(kTitle.size())));
    winhost::InstallPortugueseQtTexts(application);
    winhost::DialogMessageBoxes boxes(std::move(scripted));
    DialogFolderChooser chooser;
    const LinuxPlatformOptions platformOptions = PlatformOptions(options);
    LinuxPlatform platform(platformOptions, boxes, &chooser);
    // The removal asks and tells through message boxes alone.
    if (options.uninstall) return SetupRemoval(platform).Run() ? 0 : 1;
    frmSetup window(platform);
    // A load error or the version warning ends the program before the window shows.
    if (!Load(window.logic(), options, platformOptions)) return 1;
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    return winhost::ProgramMain(
        kProgramName, argc, argv, ParseOptions, UsageText(), [&](const Options& options) {
            if (options.host.unattended) return RunUnattended(options);
            return RunWindow(argc, argv, options,
                             winhost::ScriptedAnswers::FromEnvironment(kProgramName));
        });
}
