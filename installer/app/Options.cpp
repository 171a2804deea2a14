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
        } else {
            throw winhost::UsageError("unknown argument: " + *option);
        }
    }
    return options;
}

std::string Usage() {
    return "Usage: zovlt-config [options]\n"
           "Installs the ZOV LT add-on for the CAD application under C:\\ZOV_LT.\n"
           "\n"
           "  --classes FILE     automation class registry, lines ClassName=command line\n"
           "  --source DIR       folder standing for the program's own folder (FILES is at\n"
           "                     DIR/../FILES); default the program's folder\n" +
           winhost::HostUsage(kProgramName) +
           "\n"
           "With --unattended the terms of use count as accepted.\n";
}

}  // namespace zovlt
