#include "winhost/MessageStyle.h"

#include <algorithm>

#include "kvl/Text.h"

namespace winhost {

namespace {

struct ButtonText {
    Button button;
    std::string_view name;
    std::string_view caption;  // in the programs' language
};

constexpr ButtonText kButtonTexts[] = {
    {kOk, "ok", "OK"},
    {kCancel, "cancel", "Cancelar"},
    {kAbort, "abort", "Anular"},
    {kRetry, "retry", "Repetir"},
    {kIgnore, "ignore", "Ignorar"},
    {kYes, "yes", "Sim"},
    {kNo, "no", "Não"},
};

const ButtonText& TextOf(Button button) {
    for (const ButtonText& text : kButtonTexts) {
        if (text.button == button) return text;
    }
    return kButtonTexts[0];
}

std::vector<Button> ButtonsOf(int kind) {
    switch (kind) {
        case kOkCancel:
            return {kOk, kCancel};
        case kAbortRetryIgnore:
            return {kAbort, kRetry, kIgnore};
        case kYesNoCancel:
            return {kYes, kNo, kCancel};
        case kYesNo:
            return {kYes, kNo};
        case kRetryCancel:
            return {kRetry, kCancel};
        default:
            return {kOk};
    }
}

Icon IconOf(int icon) {
    switch (icon) {
        case kCritical:
            return Icon::Error;
        case kQuestion:
            return Icon::Question;
        case kExclamation:
            return Icon::Warning;
        case kInformation:
            return Icon::Information;
        default:
            return Icon::None;
    }
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

bool Offers(const MessageStyle& style, Button button) {
    return std::find(style.buttons.begin(), style.buttons.end(), button) != style.buttons.end();
}

Button UnattendedAnswer(const MessageStyle& style) {
    for (Button button : {kOk, kYes, kCancel}) {
        if (Offers(style, button)) return button;
    }
    return kAbort;
}

std::string_view ButtonName(Button button) {
    return TextOf(button).name;
}

std::string_view ButtonCaption(Button button) {
    return TextOf(button).caption;
}

std::optional<Button> ButtonNamed(std::string_view name) {
    const std::string sought = kvl::Minusculas(name);
    for (const ButtonText& text : kButtonTexts) {
        if (text.name == sought) return text.button;
    }
    return std::nullopt;
}

}  // namespace winhost
