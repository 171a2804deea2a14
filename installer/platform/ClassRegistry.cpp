#include "platform/ClassRegistry.h"

#include <fstream>
#include <stdexcept>

#include "kvl/Text.h"

namespace zovlt {

namespace {

// Blanks, tabs and the CR of files written on Windows.
std::string_view Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

}  // namespace

ClassRegistry ClassRegistry::Load(const std::filesystem::path& file) {
    ClassRegistry registry;
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read the class registry " + file.string());
    bool first = true;
    for (std::string line; std::getline(in, line); first = false) {
        // Editors on Windows save UTF-8 with a byte-order mark before the first line.
        if (first && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        const std::string_view text = Trimmed(line);
        const size_t equals = text.find('=');
        if (text.empty() || text.starts_with('#') || text.starts_with(';') || equals == 0 ||
            equals == std::string_view::npos) {
            continue;
        }
        registry.commands_[std::string(Trimmed(text.substr(0, equals)))] =
            std::string(Trimmed(text.substr(equals + 1)));
    }
    return registry;
}

std::optional<std::string> ClassRegistry::CommandFor(const std::string& className) const {
    // Class names are not case-sensitive, as in the Windows registry.
    for (const auto& [name, command] : commands_) {
        if (kvl::Minusculas(name) == kvl::Minusculas(className)) return command;
    }
    return std::nullopt;
}

}  // namespace zovlt
