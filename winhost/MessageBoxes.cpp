#include "winhost/MessageBoxes.h"

#include "winhost/Console.h"
#include "winhost/RunLog.h"

namespace winhost {

Button MessageBoxes::Show(const std::string& text, int flags, const std::string& title) {
    const Button answer = Ask(text, flags, title);
    RunLog::Write("Mensagem: " + text + " | Resposta: " + std::string(ButtonCaption(answer)));
    return answer;
}

Button PrintedMessageBoxes::Ask(const std::string& text, int flags, const std::string&) {
    PrintLine(text);
    return UnattendedAnswer(DecodeMessageFlags(flags));
}

}  // namespace winhost
