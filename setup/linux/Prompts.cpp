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
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF: one line end
        lines += text[i];
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
