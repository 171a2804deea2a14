#include "Options.h"

#include <cstdlib>

#include "../linux/OdbcLibrary.h"
#include "../logic/Components.h"

namespace setup {

namespace {

// "N=PATH" of --target: a component number from 1 to 4 and a folder.
std::pair<size_t, std::string> ParseTarget(const std::string& text) {
    const size_t equals = text.find('=');
    const std::string number = text.substr(0, equals);
    if (equals == std::string::npos || equals + 1 == text.size() || number.size() != 1 ||
        number[0] < '1' || number[0] > '0' + static_cast<int>(kComponentCount)) {
        throw UsageError("--target takes N=PATH, N from 1 to 4: " + text);
    }
    return {static_cast<size_t>(number[0] - '1'), text.substr(equals + 1)};
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--help") {
            options.help = true;
        } else if (option == "--unattended") {
            options.unattended = true;
        } else if (option == "--drive-c") {
            options.driveC = value();
        } else if (option == "--registry") {
            options.registry = value();
        } else if (option == "--staging") {
            options.staging = value();
        } else if (option == "--library-connection") {
            options.libraryConnection = value();
        } else if (option == "--target") {
            options.targets.push_back(ParseTarget(value()));
        } else {
            throw UsageError("unknown option: " + option);
        }
    }
    return options;
}

std::string UsageText() {
    return "Usage: symbology-setup [options]\n"
           "Installs the PDM symbology package for Cartelix 06.00.\n"
           "\n"
           "  --drive-c DIR      host folder of drive C: (default $WINEPREFIX/drive_c,\n"
           "                     else ~/.wine/drive_c); drive Z: is /\n"
           "  --registry FILE    registry file, a registry export or Wine's system.reg\n"
           "                     (default $WINEPREFIX/system.reg, else ~/.wine/system.reg)\n"
           "  --staging DIR      folder holding the four component files\n"
           "                     (default the temporary folder)\n"
           "  --target N=PATH    Windows folder for component N (1 warehouse, 2 symbology,\n"
           "                     3 library, 4 documentation), as the folder chooser sets it\n"
           "  --library-connection TEXT\n"
           "                     ODBC connection text that opens the symbol library, %FILE%\n"
           "                     standing for its host path (also from the environment\n"
           "                     variable " +
           std::string(kLibraryConnectionVariable) +
           "; default\n"
           "                     " +
           std::string(kDefaultLibraryConnection) +
           ")\n"
           "  --unattended       no window: messages are printed, one line each, and\n"
           "                     answered OK or Yes; a failed step is answered Cancel\n"
           "  --help             this text\n"
           "\n"
           "Exit status: 0 installed, 1 cancelled or failed, 2 bad usage.\n"
           "Without --unattended, the environment variable " +
           std::string(kScriptedAnswersVariable) +
           "\n"
           "(button numbers separated by commas: 1 OK, 2 Cancel, 6 Yes, 7 No) answers the\n"
           "message boxes in turn instead of showing them, and prints each message.\n";
}

LinuxPlatformOptions PlatformOptions(const Options& options) {
    LinuxPlatformOptions platform;
    platform.driveC = options.driveC.value_or(DriveMap::DefaultDriveC());
    platform.registryFile = options.registry.value_or(RegistryFile::DefaultFile());
    platform.staging = options.staging;
    const char* connection = std::getenv(kLibraryConnectionVariable);
    platform.libraryConnection = options.libraryConnection.value_or(
        connection && *connection ? connection : std::string(kDefaultLibraryConnection));
    return platform;
}

}  // namespace setup
