#include "kvlqt/QtDialogs.h"

#include <string>

#include "winhost/DialogMessageBoxes.h"

namespace kvlqt {

QtDialogs::QtDialogs(std::optional<std::string_view> answers)
    : boxes_(std::make_unique<winhost::DialogMessageBoxes>(
          answers ? std::optional(winhost::ScriptedAnswers::Parse(*answers)) : std::nullopt)) {}

QtDialogs::~QtDialogs() = default;

int32_t QtDialogs::Pergunta(std::string_view title, std::string_view text, int32_t style) {
    return boxes_->Show(std::string(text), style, std::string(title));
}

}  // namespace kvlqt
