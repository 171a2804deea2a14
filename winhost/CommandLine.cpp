#include "winhost/CommandLine.h"

#include "winhost/ScriptedAnswers.h"

namespace winhost {

std::optional<std::string> ArgumentReader::Next() {
    if (next_ == arguments_.size()) return std::nullopt;
    return arguments_[next_++];
}

std::string ArgumentReader::Value() {
    const std::string& option = arguments_[next_ - 1];
    if (next_ == arguments_.size() || arguments_[next_].empty()) {
        throw UsageError(option + " needs a value");
    }
    return arguments_[next_++];
}

bool ReadHostOption(const std::string& option, ArgumentReader& reader, HostOptions& host) {
    if (option == "--drive-c") {
        host.driveC = reader.Value();
    } else if (option == "--unattended") {
        host.unattended = true;
    } else if (option == "--help" || option == "-h") {
        host.help = true;
    } else {
        return false;
    }
    return true;
}

std::string HostUsage(std::string_view program) {
    return "  --drive-c DIR      host folder of drive C: (default $WINEPREFIX/drive_c, else\n"
           "                     ~/.wine/drive_c); drive Z: is /\n"
           "  --unattended       no window: confirmations are answered OK or Yes, a failed\n"
           "                     step Cancel (never Retry); every caption and message is\n"
           "                     printed, one per line\n"
           "  -h, --help         this text\n"
           "\n"
           "Exit status of --unattended: 0 completed, 1 cancelled or failed; 2 bad usage.\n"
           "\n"
           "Scripted answers, for runs of the window without a user:\n"
           "  " +
           ScriptedAnswers::VariableFor(program) +
           "=ok,retry,cancel\n"
           "answers the message boxes in turn with the buttons named (ok, cancel, abort,\n"
           "retry, ignore, yes, no). Each message is then also printed; a box past the list,\n"
           "or one without the button named, gets the answer --unattended would give.\n";
}

}  // namespace winhost
