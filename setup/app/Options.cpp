#include "app/Options.h"

#include <cctype>
#include <cstdlib>

#include "logic/Components.h"
#include "platform/OdbcLibrary.h"

namespace setup {

namespace {

// A folder the chooser could give: a Windows path on drive C: or Z:, or a host folder.
bool IsFolderOnADrive(const std::string& folder) {
    if (folder.starts_with('/')) return true;
    if (folder.size() < 2 || folder[1] != ':') return false;
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
    return drive == 'C' || drive == 'Z';
}

// "N=PATH" of --target: a component number from 1 to 4 and a folder.
std::pair<size_t, std::string> ParseTarget(const std::string& text) {
    const size_t equals = text.find('=');
    const std::string number = text.substr(0, equals);
    if (equals == std::string::npos || equals + 1 == text.size() || number.size() != 1 ||
        number[0] < '1' || number[0] > '0' + static_cast<int>(kComponentCount)) {
        throw winhost::UsageError("--target takes N=PATH, N from 1 to 4: " + text);
    }
    std::string folder = text.substr(equals + 1);
    if (!IsFolderOnADrive(folder)) {
        throw winhost::UsageError(
            "--target takes a folder on drive C: or Z:, or an absolute "
            "host folder: " +
            text);
    }
    return {static_cast<size_t>(number[0] - '1'), std::move(folder)};
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    winhost::ArgumentReader reader(arguments);
    while (const std::optional<std::string> option = reader.Next()) {
        if (winhost::ReadHostOption(*option, reader, options.host)) continue;
        if (*option == "--registry") {
            options.registry = reader.Value();
        } else if (*option == "--staging") {
            options.staging = reader.Value();
        } else if (*option == "--library-connection") {
            options.libraryConnection = reader.Value();
        } else if (*option == "--uninstall") {
            options.uninstall = true;
        } else if (*option == "--target") {
            options.targets.push_back(ParseTarget(reader.Value()));
        } else {
            throw winhost::UsageError("unknown option: " + *option);
        }
    }
    return options;
}

std::string UsageText() {
    return "Usage: symbology-setup [options]\n"
           "Installs the PDM symbology package for Cartelix 06.00.\n"
           "\n"
           "  --registry FILE    registry file, a registry export or Wine's system.reg\n"
           "                     (default $WINEPREFIX/system.reg, else ~/.wine/system.reg)\n"
           "  --staging DIR      folder holding the four component files\n"
           "                     (default the temporary folder)\n"
           "  --target N=PATH    folder for component N (1 warehouse, 2 symbology, 3 library,\n"
           "                     4 documentation), as the folder chooser sets it: a Windows\n"
           "                     folder on C: or Z:, or an absolute host folder\n"
           "  --library-connection TEXT\n"
           "                     ODBC connection text that opens the symbol library, %FILE%\n"
           "                     standing for its host path, %URI% for that path as a file:\n"
           "                     URI (also from the environment variable\n"
           "                     " +
           std::string(kLibraryConnectionVariable) +
           "; default\n"
           "                     " +
           std::string(kDefaultLibraryConnection) +
           ")\n"
           "  --uninstall        removes what the installation placed, as recorded in\n"
           "                     C:\\ProgramData\\symbology-setup\\instalacao.txt, and puts back\n"
           "                     the symbol library found before it (after a confirmation;\n"
           "                     --unattended answers Yes); with nothing recorded there is\n"
           "                     nothing to remove, and it ends with status 0\n" +
           winhost::HostUsage(kProgramName) +
           "\n"
           "What it reads: the registry value\n"
           "  HKLM\\SOFTWARE\\Kestrova\\Applications\\DefaultJCache (must name 06.00; naming\n"
           "  \"Professional\" picks the key Cartelix Professional, else Cartelix), and under\n"
           "  HKLM\\SOFTWARE\\Kestrova\\<that key>\\06.00\\Setup the values WarehouseTarget,\n"
           "  Path (symbology in Path\\Symbols, documentation in Path) and WorkspaceTarget;\n"
           "  in the symbol library, rows of StyleProperties (PropertyValue, where\n"
           "  Name='Source' and the value names a .fsm file) and the first row of\n"
           "  Connections (Location), each table with a primary key or row identifier.\n";
}

std::string TargetFolder(const std::string& given, const winhost::DriveMap& drives) {
    return given.starts_with('/') ? drives.ToWindows(given) : given;
}

LinuxPlatformOptions PlatformOptions(const Options& options) {
    LinuxPlatformOptions platform;
    platform.driveC = winhost::DriveMap::FromEnvironment(options.host.driveC).DriveC();
    platform.printCopies = options.host.unattended;
    platform.registryFile = options.registry.value_or(RegistryFile::DefaultFile());
    platform.staging = options.staging;
    const char* connection = std::getenv(kLibraryConnectionVariable);
    platform.libraryConnection = options.libraryConnection.value_or(
        connection && *connection ? connection : std::string(kDefaultLibraryConnection));
    return platform;
}

}  // namespace setup
