#include "MessageStyle.h"

#include <algorithm>

namespace zovlt {

namespace {

std::vector<MessageButton> ButtonsOf(int kind) {
    switch (kind) {
        case 1:
            return {kButtonOk, kButtonCancel};
        case 2:
            return {kButtonAbort, kButtonRetry, kButtonIgnore};
        case 3:
            return {kButtonYes, kButtonNo, kButtonCancel};
        case 4:
            return {kButtonYes, kButtonNo};
        case 5:
            return {kButtonRetry, kButtonCancel};
        default:
            return {kButtonOk};
    }
}

MessageIcon IconOf(int icon) {
    switch (icon) {
        case 16:
            return MessageIcon::Error;
        case 32:
            return MessageIcon::Question;
        case 48:
            return MessageIcon::Warning;
        case 64:
            return MessageIcon::Information;
        default:
            return MessageIcon::None;
    }
}

bool Offers(const MessageStyle& style, MessageButton button) {
    return std::find(style.buttons.begin(), style.buttons.end(), button) != style.buttons.end();
}

}  // namespace

MessageStyle DecodeMessageFlags(int flags) {
    MessageStyle style;
    style.buttons = ButtonsOf(flags & 0x7);
    style.icon = IconOf(flags & 0x70);
    const size_t wanted = static_cast<size_t>((flags & 0x300) >> 8);
    style.defaultButton = wanted < style.buttons.size() ? wanted : 0;
    return style;
}

MessageButton UnattendedAnswer(const MessageStyle& style) {
    for (MessageButton button : {kButtonOk, kButtonYes, kButtonCancel}) {
        if (Offers(style, button)) return button;
    }
    return kButtonAbort;
}

}  // namespace zovlt
