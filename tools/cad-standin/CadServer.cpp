#include "CadServer.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "MenuFile.h"
#include "kvl/Error.h"
#include "winhost/Wire.h"

namespace standin {

namespace {

constexpr int32_t kFailed = -2147467259;           // a general failure
constexpr int32_t kInvalidArgument = -2147024809;  // an index or position out of range

kvl::Error InvalidArgument() {
    return kvl::Error(kInvalidArgument, "O parâmetro é incorrecto");
}

int Number(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) throw kvl::Error(kvl::kTypeMismatch);
    return value;
}

bool Boolean(const std::string& text) {
    if (text == "True") return true;
    if (text == "False") return false;
    throw kvl::Error(kvl::kTypeMismatch);
}

const std::string& Required(const std::string* argument) {
    if (!argument) throw kvl::Error(kvl::kInvalidCall);
    return *argument;
}

// Whether path is pattern, where "%" stands for an integer and "+" for digits; the numbers
// go to match. A plain scan: a regular expression recursed once per character of a long
// member path and overflowed the stack.
bool Is(std::string_view path, std::string_view pattern, std::vector<std::string>& match) {
    match.clear();
    size_t at = 0;
    for (const char c : pattern) {
        if (c != '%' && c != '+') {
            if (at >= path.size() || path[at] != c) return false;
            ++at;
            continue;
        }
        const size_t start = at;
        if (c == '%' && at < path.size() && path[at] == '-') ++at;
        const size_t digits = at;
        while (at < path.size() && path[at] >= '0' && path[at] <= '9') ++at;
        if (at == digits) return false;
        match.emplace_back(path.substr(start, at - start));
    }
    return at == path.size();
}

}  // namespace

std::string CadServer::Handle(std::string_view request) {
    const std::vector<std::string> fields = winhost::wire::SplitFields(request);
    try {
        if (fields.size() < 2) throw kvl::Error(kvl::kNoSuchMember);
        const std::string* argument = fields.size() > 2 ? &fields[2] : nullptr;
        return winhost::wire::Answer(Serve(fields[0], fields[1], argument));
    } catch (const kvl::Error& error) {
        return winhost::wire::Answer(error);
    }
}

std::string CadServer::Serve(const std::string& verb, const std::string& path,
                             const std::string* argument) {
    std::vector<std::string> m;
    if (verb == "put" && path == "Visible") {
        state_.visible = Boolean(Required(argument));
    } else if (verb == "get" && path == "Preferences.Files.SupportPath") {
        return state_.supportPath;
    } else if (verb == "put" && path == "Preferences.Files.SupportPath") {
        state_.supportPath = Required(argument);
    } else if (verb == "get" && path == "MenuGroups.Count") {
        return std::to_string(state_.menuGroups.size());
    } else if (verb == "get" && Is(path, "MenuGroups.Item(%).Name", m)) {
        return GroupAt(Number(m[0])).name;
    } else if (verb == "call" && Is(path, "MenuGroups.Item(%).Unload", m)) {
        UnloadGroup(Number(m[0]));
    } else if (verb == "call" && path == "MenuGroups.Load") {
        return LoadGroup(Required(argument));
    } else if (verb == "call" &&
               Is(path, "#+.Menus.Item(%).InsertInMenuBar", m)) {
        InsertInMenuBar(Number(m[0]), Number(m[1]), Required(argument));
    } else if (verb == "get" && path == "MenuBar.Count") {
        return std::to_string(state_.menuBar.size());
    } else if (verb == "call" && Is(path, "Documents(%).Close", m)) {
        CloseDocument(Number(m[0]), Required(argument));
    } else if (verb == "call" && path == "Quit") {
        // The application ends: its drawings close with it.
        state_.documents.clear();
        state_.running = false;
        quit_ = true;
    } else {
        throw kvl::Error(kvl::kNoSuchMember);
    }
    return "";
}

MenuGroup& CadServer::GroupAt(int index) {
    if (index < 0 || static_cast<size_t>(index) >= state_.menuGroups.size())
        throw InvalidArgument();
    return state_.menuGroups[static_cast<size_t>(index)];
}

void CadServer::UnloadGroup(int index) {
    const MenuGroup group = GroupAt(index);
    for (const std::string& menu : group.menus) {
        auto inBar = std::find(state_.menuBar.begin(), state_.menuBar.end(), menu);
        if (inBar != state_.menuBar.end()) state_.menuBar.erase(inBar);
    }
    state_.menuGroups.erase(state_.menuGroups.begin() + index);
}

std::string CadServer::LoadGroup(const std::string& file) {
    MenuGroup group;
    try {
        group = ReadMenuFile(file, drives_.ToHost(file));
    } catch (const std::exception& error) {
        throw kvl::Error(kFailed,
                         std::string("O ficheiro de menus não foi carregado: ") + error.what());
    }
    for (const MenuGroup& loaded : state_.menuGroups) {
        if (loaded.name == group.name)
            throw kvl::Error(kFailed, "O grupo de menus já está carregado: " + group.name);
    }
    const int handle = static_cast<int>(handles_.size()) + 1;
    handles_[handle] = group.name;
    state_.menuGroups.push_back(std::move(group));
    return "#" + std::to_string(handle);
}

void CadServer::InsertInMenuBar(int handle, int menu, const std::string& position) {
    const auto name = handles_.find(handle);
    auto group = std::find_if(
        state_.menuGroups.begin(), state_.menuGroups.end(),
        [&](const MenuGroup& g) { return name != handles_.end() && g.name == name->second; });
    if (group == state_.menuGroups.end())
        throw kvl::Error(kFailed, "O grupo de menus já não está carregado");
    if (menu < 0 || static_cast<size_t>(menu) >= group->menus.size()) throw InvalidArgument();
    const int at = Number(position);
    if (at < 0 || static_cast<size_t>(at) > state_.menuBar.size()) throw InvalidArgument();
    state_.menuBar.insert(state_.menuBar.begin() + at, group->menus[static_cast<size_t>(menu)]);
}

void CadServer::CloseDocument(int index, const std::string& save) {
    Boolean(save);
    if (index < 0 || static_cast<size_t>(index) >= state_.documents.size()) throw InvalidArgument();
    state_.documents.erase(state_.documents.begin() + index);
}

}  // namespace standin
