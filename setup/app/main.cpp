// symbology-setup: installs the PDM symbology package, in a window or --unattended.

#include <QApplication>
#include <iostream>

#include "../linux/LinuxPlatform.h"
#include "../logic/SetupLogic.h"
#include "../ui/FrmSetup.h"
#include "ConsoleView.h"
#include "Options.h"

namespace {

using namespace setup;

// Form_Load, then the folders given on the command line as if chosen in the window.
bool Load(SetupLogic& logic, const Options& options) {
    if (!logic.Form_Load()) return false;
    for (const auto& [component, folder] : options.targets) logic.ChooseTarget(component, folder);
    return true;
}

int RunUnattended(const Options& options) {
    ConsolePrompts prompts;
    LinuxPlatform platform(PlatformOptions(options), prompts);
    ConsoleView view;
    SetupLogic logic(view, platform);
    if (!Load(logic, options)) return 1;
    return logic.cmdInstall_Click() ? 0 : 1;
}

int RunWindowed(int argc, char** argv, const Options& options) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("symbology-setup"));
    QtPrompts prompts;
    LinuxPlatform platform(PlatformOptions(options), prompts);
    FrmSetup window(platform);
    // A load error or the version warning ends the program before the window shows.
    if (!Load(window.logic(), options)) return 1;
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << UsageText();
            return 0;
        }
        return options.unattended ? RunUnattended(options) : RunWindowed(argc, argv, options);
    } catch (const UsageError& error) {
        std::cerr << "symbology-setup: " << error.what() << "\n\n" << UsageText();
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "symbology-setup: " << error.what() << '\n';
        return 1;
    }
}
