// The default dialogs: a prompt on the terminal, or an immediate answer when there is
// no one to ask (a service, a pipe, a test run).

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "kvl/Dialogs.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

struct Button {
    int32_t answer;
    const char* label;
};

std::vector<Button> ButtonsOf(int32_t style) {
    switch (style & 0xF) {
        case 0:
            return {{1, "OK"}};
        case 1:
            return {{1, "OK"}, {2, "Cancel"}};
        case kAbortRetryIgnore:
            return {{kAbort, "Abort"}, {kRetry, "Retry"}, {kIgnore, "Ignore"}};
        case 3:
            return {{kYes, "Yes"}, {kNo, "No"}, {2, "Cancel"}};
        case kYesNo:
            return {{kYes, "Yes"}, {kNo, "No"}};
        case 5:
            return {{kRetry, "Retry"}, {2, "Cancel"}};
        default:
            return {{1, "OK"}};
    }
}

// Without anyone to ask, the answer that leaves things as they are.
int32_t UnattendedAnswer(const std::vector<Button>& buttons) {
    for (const Button& b : buttons)
        if (b.answer == kIgnore || b.answer == kNo || b.answer == 2) return b.answer;
    return buttons.front().answer;
}

class Terminal final : public Dialogs {
  public:
    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override {
        std::vector<Button> buttons = ButtonsOf(style);
        size_t def = std::min<size_t>((style >> 8) & 0x3, buttons.size() - 1);
        std::string shown = StrSubstitui(StrSubstitui(text, "\r\n", "\n", true), "\r", "\n", true);
        std::cerr << "\n[" << title << "]\n" << shown << "\n";
        if (!isatty(STDIN_FILENO) || !isatty(STDERR_FILENO)) return UnattendedAnswer(buttons);
        while (true) {
            for (size_t i = 0; i < buttons.size(); ++i)
                std::cerr << (i ? " " : "") << (i == def ? "*" : "") << "(" << buttons[i].label[0]
                          << ")" << (buttons[i].label + 1);
            std::cerr << " ? " << std::flush;
            std::string line;
            if (!std::getline(std::cin, line)) return UnattendedAnswer(buttons);
            if (line.empty()) return buttons[def].answer;
            for (const Button& b : buttons)
                if (Minusculas(line.substr(0, 1)) == Minusculas(std::string(1, b.label[0])))
                    return b.answer;
        }
    }
};

}  // namespace

std::shared_ptr<Dialogs> TerminalDialogs() {
    static const std::shared_ptr<Dialogs> dialogs = std::make_shared<Terminal>();
    return dialogs;
}

}  // namespace kvl
