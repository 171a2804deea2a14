#pragma once
// Dialogs that answer from a script and remember what they were asked.

#include <deque>
#include <string>
#include <vector>

#include "kvl/Dialogs.h"

namespace kvltest {

class ScriptedDialogs : public kvl::Dialogs {
  public:
    struct Asked {
        std::string title;
        std::string text;
        int32_t style;
    };
    std::vector<Asked> asked;
    std::deque<int32_t> answers;  // past the script: Ignore, or No for a question

    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override {
        asked.push_back({std::string(title), std::string(text), style});
        if (!answers.empty()) {
            int32_t a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & 0xF) == kvl::kYesNo ? kvl::kNo : kvl::kIgnore;
    }
};

}  // namespace kvltest
