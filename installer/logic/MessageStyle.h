#pragma once
// Windows message-box flag values, decoded once for every kind of box that shows them.

#include <cstddef>
#include <vector>

#include "InstallPlatform.h"

namespace zovlt {

enum class MessageIcon { None, Error, Question, Warning, Information };

struct MessageStyle {
    std::vector<MessageButton> buttons;  // left to right
    MessageIcon icon = MessageIcon::None;
    size_t defaultButton = 0;  // index into buttons
};

// 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel;
// + 16 error, 32 question, 48 exclamation, 64 information icon; + 256 / 512 second / third
// button default. A default beyond the last button falls back to the first.
MessageStyle DecodeMessageFlags(int flags);

// The answer given without a user: OK or Yes where offered, else Cancel, else Abort.
// A failed step is therefore never retried.
MessageButton UnattendedAnswer(const MessageStyle& style);

}  // namespace zovlt
