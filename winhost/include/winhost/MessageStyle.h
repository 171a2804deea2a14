#pragma once
// Windows message-box flag values and answers, decoded once for every kind of box that shows
// them: dialogs, printed messages and scripted answers.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace winhost {

// The chosen button's number.
enum Button : int {
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7,
};

// Flags: one set of buttons, plus one icon, plus the default button.
enum MessageFlags : int {
    kOkOnly = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5,
    kCritical = 16,
    kQuestion = 32,
    kExclamation = 48,
    kInformation = 64,
    kDefaultButton2 = 256,
    kDefaultButton3 = 512,
};

enum class Icon { None, Error, Question, Warning, Information };

struct MessageStyle {
    std::vector<Button> buttons;  // left to right
    Icon icon = Icon::None;
    size_t defaultButton = 0;  // index into buttons; one beyond the last falls back to the first
};

MessageStyle DecodeMessageFlags(int flags);

bool Offers(const MessageStyle& style, Button button);

// The answer given without a user: OK or Yes where offered, else Cancel, else Abort. A failed
// step is therefore never retried.
Button UnattendedAnswer(const MessageStyle& style);

// The name that scripts a button ("ok", "cancel", "abort", "retry", "ignore", "yes", "no"), and
// the caption a box shows on it.
std::string_view ButtonName(Button button);
std::string_view ButtonCaption(Button button);
// The button of a name in any letter case; nothing for an unknown name.
std::optional<Button> ButtonNamed(std::string_view name);

}  // namespace winhost
