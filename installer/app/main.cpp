// zovlt-config: installs the ZOV LT add-on, in its window or unattended.

#include <QApplication>

#include "app/PrintedView.h"
#include "app/ProgramSetup.h"
#include "platform/LinuxPlatform.h"
#include "window/frmMAIN.h"
#include "winhost/DialogMessageBoxes.h"

namespace {

using namespace zovlt;

int RunUnattended(int argc, char** argv, ProgramSetup setup) {
    QCoreApplication app(argc, argv);
    winhost::PrintedMessageBoxes boxes;
    LinuxPlatform platform(std::move(setup.drives), std::move(setup.classes), boxes);
    PrintedView view;
    Installer installer(view, platform, setup.programFolder);
    installer.Form_Load();
    installer.Check1_Click(1);  // the terms count as accepted
    return installer.Command1_Click() == Outcome::Completed ? 0 : 1;
}

int RunWindow(int argc, char** argv, ProgramSetup setup,
              std::optional<winhost::ScriptedAnswers> scripted) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProgramName.data(), kProgramName.size()));
    QApplication::setApplicationDisplayName(QStringLiteral("ZOV LT Config"));
    winhost::DialogMessageBoxes boxes(std::move(scripted));
    LinuxPlatform platform(std::move(setup.drives), std::move(setup.classes), boxes);
    frmMAIN window(platform, setup.programFolder);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    return winhost::ProgramMain(
        kProgramName, argc, argv, ParseOptions, Usage(), [&](const Options& options) {
            ProgramSetup setup = SetupFrom(options);
            if (options.host.unattended) {
                return RunUnattended(argc, argv, std::move(setup));
            }
            return RunWindow(argc, argv, std::move(setup),
                             winhost::ScriptedAnswers::FromEnvironment(kProgramName));
        });
}
