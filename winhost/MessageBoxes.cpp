#include "winhost/MessageBoxes.h"

#include "winhost/Console.h"

namespace winhost {

Button PrintedMessageBoxes::Show(const std::string& text, int flags, const std::string&) {
    PrintLine(text);
    return UnattendedAnswer(DecodeMessageFlags(flags));
}

}  // namespace winhost
