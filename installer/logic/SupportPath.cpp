#include "logic/SupportPath.h"

#include <algorithm>
#include <vector>

#include "kvl/Text.h"

namespace zovlt {

namespace {

std::string Normal(std::string_view entry) {
    entry = kvl::Apara(entry);
    if (entry.ends_with('\\')) entry.remove_suffix(1);
    return kvl::Minusculas(entry);
}

std::vector<std::string_view> Entries(std::string_view list) {
    std::vector<std::string_view> entries;
    for (size_t start = 0; start <= list.size();) {
        const size_t end = std::min(list.find(';', start), list.size());
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

}  // namespace

bool ListsFolder(std::string_view list, std::string_view folder) {
    const std::string sought = Normal(folder);
    const std::vector<std::string_view> entries = Entries(list);
    return std::any_of(entries.begin(), entries.end(),
                       [&](std::string_view entry) { return Normal(entry) == sought; });
}

std::string WithoutFolder(std::string_view list, std::string_view folder) {
    const std::string sought = Normal(folder);
    std::string kept;
    bool first = true;
    for (std::string_view entry : Entries(list)) {
        if (Normal(entry) == sought) continue;
        if (!first) kept += ';';
        kept += entry;
        first = false;
    }
    return kept;
}

}  // namespace zovlt
