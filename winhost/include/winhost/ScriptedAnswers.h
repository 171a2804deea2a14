#pragma once
// Answers to message boxes for runs of a window without a user (offscreen tests, screenshots):
// the environment variable named after the program (ScriptedAnswers::VariableFor) lists button
// names separated by commas, taken one per box.

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "winhost/MessageStyle.h"

namespace winhost {

class ScriptedAnswers {
  public:
    // The program's name in capitals, "-" as "_", then "_ANSWERS": "ZOVLT_CONFIG_ANSWERS".
    static std::string VariableFor(std::string_view program);
    // Nothing when the variable is not set; throws UsageError for a name that is no button's.
    static std::optional<ScriptedAnswers> FromEnvironment(std::string_view program);
    // Button names in any letter case, separated by commas; blanks around them are ignored.
    // Throws UsageError naming the first unknown name.
    static ScriptedAnswers Parse(std::string_view list);

    // The next listed button when the box offers it; past the list, or for a button the box
    // does not offer, the unattended answer, so a failed step is never retried unasked.
    Button Next(const MessageStyle& style);

  private:
    std::deque<Button> answers_;
};

}  // namespace winhost
