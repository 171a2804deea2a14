// zovlt-config: installs the ZOV LT add-on, or removes it, in its window or unattended.

#include <QApplication>

#include "app/ProgramSetup.h"
#include "app/WindowlessViews.h"
#include "logic/Uninstaller.h"
#include "platform/LinuxPlatform.h"
#include "window/frmMAIN.h"
#include "winhost/DialogMessageBoxes.h"
#include "winhost/QtTranslations.h"

namespace {

using namespace zovlt;

int ExitStatus(Outcome outcome) {
    return outcome == Outcome::Completed ? 0 : 1;
}

LinuxPlatform PlatformOf(ProgramSetup& setup, winhost::MessageBoxes& boxes, bool unattended) {
    winhost::WindowsFiles files(std::move(setup.drives));
    files.PrintCopies(unattended);
    return LinuxPlatform(std::move(files), std::move(setup.classes), boxes);
}

int RunUnattended(int argc, char** argv, ProgramSetup setup, const Options& options) {
    QCoreApplication app(argc, argv);
    winhost::PrintedMessageBoxes boxes;
    LinuxPlatform platform = PlatformOf(setup, boxes, true);
    PrintedView view;
    if (options.uninstall) {
        return ExitStatus(Uninstaller(view, platform, setup.programFolder).Run());
    }
    Installer installer(view, platform, setup.programFolder);
    installer.Form_Load();
    installer.Check1_Click(1);  // --accept-terms
    return ExitStatus(installer.Command1_Click());
}

int RunWindow(int argc, char** argv, ProgramSetup setup, const Options& options,
              std::optional<winhost::ScriptedAnswers> scripted) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProgramName.data(), kProgramName.size()));
    QApplication::setApplicationDisplayName(QStringLiteral("ZOV LT Config"));
    winhost::InstallPortugueseQtTexts(app);
    winhost::DialogMessageBoxes boxes(std::move(scripted));
    LinuxPlatform platform = PlatformOf(setup, boxes, false);
    if (options.uninstall) {
        BoxesOnlyView view;
        return ExitStatus(Uninstaller(view, platform, setup.programFolder).Run());
    }
    frmMAIN window(platform, setup.programFolder);
    window.show();
    QApplication::exec();
    // Closing the window without installing is no failure.
    return window.Result() == Outcome::Cancelled ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return winhost::ProgramMain(
        kProgramName, argc, argv, ParseOptions, Usage(), [&](const Options& options) {
            ProgramSetup setup = SetupFrom(options);
            if (options.host.unattended) {
                return RunUnattended(argc, argv, std::move(setup), options);
            }
            return RunWindow(argc, argv, std::move(setup), options,
                             winhost::ScriptedAnswers::FromEnvironment(kProgramName));
        });
}
