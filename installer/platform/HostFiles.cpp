#include "platform/HostFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "kvl/Error.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"
#include "platform/Wildcard.h"
#include "winhost/Files.h"

namespace zovlt {

namespace fs = std::filesystem;

namespace {

bool IsListedFile(const fs::directory_entry& entry, const std::string& pattern) {
    const std::string name = entry.path().filename().string();
    std::error_code ec;
    // A "\\" would turn into a folder separator once the name is part of a Windows path.
    return !name.starts_with('.') && name.find('\\') == std::string::npos &&
           entry.is_regular_file(ec) && MatchesWildcard(name, pattern);
}

}  // namespace

bool HostFiles::PathOK(const std::string& path) const {
    try {
        return !path.empty() && kvl::PathOK(drives_.ToHost(path).string());
    } catch (const kvl::Error&) {
        return false;
    }
}

void HostFiles::CreateFolder(const std::string& path) const {
    if (::mkdir(drives_.ToHost(path).c_str(), 0777) != 0) {
        throw winhost::FileError(errno, winhost::Missing::Path);
    }
}

std::vector<std::string> HostFiles::ListFiles(const std::string& pattern) const {
    const size_t cut = pattern.rfind('\\');
    if (cut == std::string::npos) throw kvl::Error(kvl::kPathNotFound);
    const fs::path folder = drives_.ToHost(pattern.substr(0, cut));
    const std::string namePattern = pattern.substr(cut + 1);
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    std::vector<std::string> names;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (IsListedFile(*it, namePattern)) names.push_back(it->path().filename().string());
    }
    if (ec) throw winhost::FileError(ec.value(), winhost::Missing::Path);
    // Letters in any case sort together, as a Windows folder lists them.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string foldedA = kvl::Minusculas(a), foldedB = kvl::Minusculas(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    return names;
}

void HostFiles::DeleteFile(const std::string& path) const {
    if (::unlink(drives_.ToHost(path).c_str()) != 0) {
        throw winhost::FileError(errno, winhost::Missing::File);
    }
}

void HostFiles::CopyFile(const std::string& source, const std::string& destination) const {
    winhost::ReplaceFile(drives_.ToHost(source), drives_.ToHost(destination));
}

}  // namespace zovlt
