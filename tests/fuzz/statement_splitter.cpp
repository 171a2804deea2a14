// The statement splitter of scripts and of the sample database, fed the input line by line
// as a script is, with variables (every name of an odd length has one, holding quotes).
#include <optional>
#include <string>
#include <string_view>

#include "session/StatementSplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    kvlsession::StatementSplitter splitter;
    splitter.SetVariables([](std::string_view name) -> std::optional<std::string> {
        if (name.size() % 2 == 0) return std::nullopt;
        return "'\"" + std::string(name) + ";";
    });
    while (!input.empty()) {
        const size_t end = input.find('\n');
        splitter.AddLine(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        while (splitter.Next()) {
        }
    }
    splitter.TakePending();
    return 0;
}
