// zovlt-config: installs the ZOV LT add-on, in its window or unattended.

#include <QApplication>
#include <iostream>
#include <optional>

#include "LinuxPlatform.h"
#include "MessageBoxes.h"
#include "PrintedView.h"
#include "ProgramSetup.h"
#include "frmMAIN.h"

namespace {

using namespace zovlt;

int RunUnattended(int argc, char** argv, ProgramSetup setup) {
    QCoreApplication app(argc, argv);
    PrintedMessageBoxes boxes;
    LinuxPlatform platform(std::move(setup.drives), std::move(setup.classes), boxes);
    PrintedView view;
    Installer installer(view, platform, setup.programFolder);
    installer.FormLoad();
    installer.AcceptClicked(1);  // the terms count as accepted
    return installer.InstallClicked() == Outcome::Completed ? 0 : 1;
}

int RunWindow(int argc, char** argv, ProgramSetup setup) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zovlt-config"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZOV LT Config"));
    DialogMessageBoxes boxes;
    LinuxPlatform platform(std::move(setup.drives), std::move(setup.classes), boxes);
    frmMAIN window(platform, setup.programFolder);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "zovlt-config: " << parsed.error << "\n\n" << Usage();
        return 2;
    }
    if (parsed.options.help) {
        std::cout << Usage();
        return 0;
    }
    std::optional<ProgramSetup> setup;
    try {
        setup = SetupFrom(parsed.options);
    } catch (const std::runtime_error& error) {
        std::cerr << "zovlt-config: " << error.what() << "\n";
        return 2;
    }
    if (parsed.options.unattended) return RunUnattended(argc, argv, std::move(*setup));
    return RunWindow(argc, argv, std::move(*setup));
}
