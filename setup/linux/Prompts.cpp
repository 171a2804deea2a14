#include "Prompts.h"

#include <iostream>

namespace setup {

int UnattendedAnswer(int flags) {
    switch (flags & 7) {
        case kAbortRetryIgnore:
            return kAbort;
        case kYesNoCancel:
        case kYesNo:
            return kYes;
        case kRetryCancel:
            return kCancel;
        default:
            return kOk;
    }
}

void PrintLines(const std::string& text) {
    std::string lines = text;
    for (size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at)) {
        lines.replace(at, 2, "\n");
    }
    std::cout << lines << std::endl;
}

void PrintMessage(const std::string& title, const std::string& text) {
    PrintLines(title);
    PrintLines(text);
}

int ConsolePrompts::MsgBox(const std::string& text, int flags, const std::string& title) {
    PrintMessage(title, text);
    return UnattendedAnswer(flags);
}

}  // namespace setup
