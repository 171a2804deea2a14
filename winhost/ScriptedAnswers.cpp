#include "winhost/ScriptedAnswers.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "kvl/Text.h"
#include "winhost/CommandLine.h"

namespace winhost {

std::string ScriptedAnswers::VariableFor(std::string_view program) {
    std::string name;
    for (char c : program) {
        name += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name + "_ANSWERS";
}

std::optional<ScriptedAnswers> ScriptedAnswers::FromEnvironment(std::string_view program) {
    const std::string variable = VariableFor(program);
    const char* list = std::getenv(variable.c_str());
    if (list == nullptr) return std::nullopt;
    try {
        return Parse(list);
    } catch (const UsageError& error) {
        throw UsageError(variable + ": " + error.what());
    }
}

ScriptedAnswers ScriptedAnswers::Parse(std::string_view list) {
    ScriptedAnswers scripted;
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = kvl::Apara(list.substr(start, comma - start));
        if (!name.empty()) {
            const std::optional<Button> button = ButtonNamed(name);
            if (!button) throw UsageError("no button is named " + std::string(name));
            scripted.answers_.push_back(*button);
        }
        start = comma + 1;
    }
    return scripted;
}

Button ScriptedAnswers::Next(const MessageStyle& style) {
    if (answers_.empty()) return UnattendedAnswer(style);
    const Button listed = answers_.front();
    answers_.pop_front();
    return Offers(style, listed) ? listed : UnattendedAnswer(style);
}

}  // namespace winhost
