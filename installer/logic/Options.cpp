#include "Options.h"

namespace zovlt {

namespace {

std::optional<std::string>* ValueSlot(Options& options, const std::string& name) {
    if (name == "--drive-c") return &options.driveC;
    if (name == "--classes") return &options.classes;
    if (name == "--source") return &options.source;
    return nullptr;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--unattended") {
            options.unattended = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (auto* slot = ValueSlot(options, argument)) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                parsed.error = argument + " needs a value";
                return parsed;
            }
            *slot = arguments[++i];
        } else {
            parsed.error = "unknown argument: " + argument;
            return parsed;
        }
    }
    return parsed;
}

std::string Usage() {
    return "Usage: zovlt-config [options]\n"
           "Installs the ZOV LT add-on for the CAD application under C:\\ZOV_LT.\n"
           "\n"
           "  --drive-c DIR    host folder of drive C: (default $WINEPREFIX/drive_c,\n"
           "                   else ~/.wine/drive_c)\n"
           "  --unattended     no window: the terms count as accepted, confirmations are\n"
           "                   answered OK or Yes, a failed step is answered Cancel; every\n"
           "                   caption and message is printed, one per line; exit status 0\n"
           "                   completed, 1 cancelled or failed, 2 bad usage\n"
           "  --classes FILE   automation class registry, lines ClassName=command line\n"
           "  --source DIR     folder standing for the program's own folder (FILES is at\n"
           "                   DIR/../FILES); default the program's folder\n"
           "  --help           this text\n";
}

}  // namespace zovlt
