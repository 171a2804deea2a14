#include "HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "Wildcard.h"
#include "kvl/Error.h"
#include "kvl/Platform.h"
#include "kvl/Text.h"

namespace zovlt {

namespace fs = std::filesystem;

namespace {

// What is missing decides between "file not found" and "path not found".
enum class Missing { File, Path };

kvl::Error FileError(int err, Missing missing) {
    switch (err) {
        case ENOENT:
            return kvl::Error(missing == Missing::File ? kvl::kFileNotFound : kvl::kPathNotFound);
        case ENOTDIR:
            return kvl::Error(kvl::kPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return kvl::Error(kvl::kPermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return kvl::Error(kvl::kDiskFull);
        default:
            return kvl::Error(kvl::kPathFileAccessError);
    }
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failure to flush is seen; returns errno or 0.
    int Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

// Returns errno of the first failed write, or 0.
int CopyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR) return errno;
            if (put > 0) done += put;
        }
    }
}

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
    if (::mkdir(drives_.ToHost(path).c_str(), 0777) != 0) throw FileError(errno, Missing::Path);
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
    if (ec) throw FileError(ec.value(), Missing::Path);
    // Letters in any case sort together, as a Windows folder lists them.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string foldedA = kvl::Minusculas(a), foldedB = kvl::Minusculas(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    return names;
}

void HostFiles::DeleteFile(const std::string& path) const {
    if (::unlink(drives_.ToHost(path).c_str()) != 0) throw FileError(errno, Missing::File);
}

void HostFiles::CopyFile(const std::string& source, const std::string& destination) const {
    const fs::path from = drives_.ToHost(source);
    const fs::path to = drives_.ToHost(destination);
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) throw FileError(errno, Missing::File);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) throw FileError(errno, Missing::File);
    if (S_ISDIR(info.st_mode)) throw kvl::Error(kvl::kPathFileAccessError);
    Descriptor out(
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, info.st_mode & 0777));
    if (out.get() < 0) throw FileError(errno, Missing::Path);
    if (int err = CopyContents(in.get(), out.get())) throw FileError(err, Missing::Path);
    if (int err = out.Close()) throw FileError(err, Missing::Path);
}

}  // namespace zovlt
