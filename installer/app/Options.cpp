#include "app/Options.h"

namespace zovlt {

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    winhost::ArgumentReader reader(arguments);
    while (const std::optional<std::string> option = reader.Next()) {
        if (winhost::ReadHostOption(*option, reader, options.host)) continue;
        if (*option == "--classes") {
            options.classes = reader.Value();
        } else if (*option == "--source") {
            options.source = reader.Value();
        } else if (*option == "--accept-terms") {
            options.acceptTerms = true;
        } else if (*option == "--uninstall") {
            options.uninstall = true;
        } else {
            throw winhost::UsageError("unknown argument: " + *option);
        }
    }
    // Nobody reads the terms in an unattended run: they count as accepted only when said so.
    if (options.host.unattended && !options.uninstall && !options.acceptTerms &&
        !options.host.help && !options.host.version) {
        throw winhost::UsageError(
            "an unattended installation needs --accept-terms, which accepts the terms of use "
            "shown in the window");
    }
    return options;
}

std::string Usage() {
    return "Usage: zovlt-config [options]\n"
           "Installs the ZOV LT add-on for the CAD application under C:\\ZOV_LT.\n"
           "\n"
           "  --uninstall        removes what the installation added, after a confirmation:\n"
           "                     the files copied from the medium, the library's registration,\n"
           "                     C:\\ZOV_LT in the support path, the menu group ZOV_LT;\n"
           "                     nothing changes unless every installed file can go, and\n"
           "                     anything installed that remains is a failure\n"
           "  --accept-terms     accepts the terms of use; an --unattended installation\n"
           "                     needs it\n"
           "  --classes FILE     automation class registry, lines ClassName=command line\n"
           "                     (default zovlt-config.classes beside the program)\n"
           "  --source DIR       folder standing for the program's own folder (FILES is at\n"
           "                     DIR/../FILES); default the program's folder\n" +
           winhost::HostUsage(kProgramName) +
           "\n"
           "The window exits with 1 after a failed or cancelled installation, else 0.\n";
}

}  // namespace zovlt
