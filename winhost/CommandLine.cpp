#include "winhost/CommandLine.h"

#include "winhost/MessageStyle.h"
#include "winhost/RunLog.h"
#include "winhost/ScriptedAnswers.h"

namespace winhost {

std::string_view Version() {
    return WINHOST_VERSION;
}

void StartLog(const HostOptions& host, std::string_view program,
              const std::vector<std::string>& arguments) {
    if (!host.log) return;
    RunLog::Open(*host.log);
    std::string line = std::string(program) + " " + std::string(Version());
    for (const std::string& argument : arguments) line += " " + argument;
    RunLog::Write(line);
}

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
    } else if (option == "--log") {
        host.log = reader.Value();
    } else if (option == "--version") {
        host.version = true;
    } else if (option == "--help" || option == "-h") {
        host.help = true;
    } else {
        return false;
    }
    return true;
}

std::string HostUsage(std::string_view program) {
    // "ok (OK), cancel (Cancelar), ...", in lines that fit a terminal.
    std::string buttons = "  ";
    size_t lineStart = 0;
    for (Button button : {kOk, kCancel, kAbort, kRetry, kIgnore, kYes, kNo}) {
        const std::string item = std::string(ButtonName(button)) + " (" +
                                 std::string(ButtonCaption(button)) + ")" +
                                 (button == kNo ? "." : ",");
        if (buttons.size() - lineStart + item.size() > 76) {
            buttons.back() = '\n';
            lineStart = buttons.size();
            buttons += "  ";
        }
        buttons += item + " ";
    }
    buttons.back() = '\n';
    return "  --drive-c DIR      host folder of drive C: (default $WINEPREFIX/drive_c, else\n"
           "                     ~/.wine/drive_c); drive Z: is /\n"
           "  --unattended       no window: confirmations are answered OK or Yes, a failed\n"
           "                     step Cancel (never Retry); every caption, message and file\n"
           "                     copied is printed, one per line\n"
           "  --log FILE         adds to FILE every step, every file copied and every message\n"
           "                     with the answer given, one per line after the time\n"
           "  --version          the version\n"
           "  -h, --help         this text\n"
           "\n"
           "Exit status: 0 completed, 1 cancelled or failed, 2 bad usage.\n"
           "\n"
           "Scripted answers, for runs of the window without a user:\n"
           "  " +
           ScriptedAnswers::VariableFor(program) +
           "=ok,retry,cancel\n"
           "answers the message boxes in turn with the buttons named, in any letter case:\n" +
           buttons +
           "Each message is then also printed; a box past the list, or one without the\n"
           "button named, gets the answer --unattended would give.\n";
}

}  // namespace winhost
