#include "winhost/WindowsFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "kvl/Platform.h"
#include "kvl/Text.h"
#include "FileNames.h"
#include "winhost/Console.h"
#include "winhost/Errors.h"
#include "winhost/RunLog.h"
#include "winhost/Wildcard.h"

namespace winhost {

namespace fs = std::filesystem;
using namespace detail;

namespace detail {

kvl::Error FileError(int errnoValue, Missing missing, std::string_view name) {
    switch (errnoValue) {
        case ENOENT:
            return NamedError(missing == Missing::File ? kvl::kFileNotFound : kvl::kPathNotFound,
                              name);
        case ENOTDIR:
            return NamedError(kvl::kPathNotFound, name);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return NamedError(kvl::kPermissionDenied, name);
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return NamedError(kvl::kDiskFull, name);
        default:
            return NamedError(kvl::kPathFileAccessError, name);
    }
}

std::string FolderOf(const std::string& windowsPath) {
    const size_t cut = windowsPath.find_last_of("\\/");
    return cut == std::string::npos ? windowsPath : windowsPath.substr(0, cut);
}

std::string TemporaryName(std::string_view suffix) {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string name = ".winhost-";
    for (int i = 0; i < 10; ++i) name += kLetters[pick(generator)];
    return name + std::string(suffix);
}

}  // namespace detail

namespace {

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
    // Closes now, so that a failure to write back is seen; returns errno or 0.
    int Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

// Returns errno of the first failed read or write, or 0.
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

// A new file beside target; its descriptor is open for writing, and it is removed on failure.
int CreateBeside(const fs::path& target, mode_t mode, fs::path& created,
                 const std::string& windowsTarget) {
    for (int attempt = 0;; ++attempt) {
        created = target.parent_path() / TemporaryName(kCopySuffix);
        // O_EXCL: never another file that happens to have the name. The umask applies.
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno == ENOENT || errno == ENOTDIR) {
            throw FileError(errno, Missing::Path, FolderOf(windowsTarget));
        }
        if (errno != EEXIST || attempt == 100) throw FileError(errno, Missing::Path, windowsTarget);
    }
}

// The line of the log, and of an unattended run, for one file copied.
std::string CopyNotice(const std::string& source, const std::string& destination) {
    return "Ficheiro copiado: " + source + " -> " + destination;
}

}  // namespace

struct PendingCopy::State {
    fs::path host;         // the copy under its temporary name
    fs::path destination;  // what it replaces
    fs::path kept;         // after Switch: the previous file, when there was one
    bool switched = false;
    std::string path;  // Windows path of the copy
    std::string source;  // Windows paths, for the notice of the copy
    std::string windowsDestination;
    bool print = false;

    void Announce() const {
        const std::string notice = CopyNotice(source, windowsDestination);
        RunLog::Write(notice);
        if (print) PrintLine(notice);
    }
};

PendingCopy::PendingCopy(std::unique_ptr<State> state) : state_(std::move(state)) {}
PendingCopy::PendingCopy(PendingCopy&& other) noexcept = default;
PendingCopy& PendingCopy::operator=(PendingCopy&& other) noexcept {
    Discard();
    state_ = std::move(other.state_);
    return *this;
}
PendingCopy::~PendingCopy() {
    Discard();
}

void PendingCopy::Discard() noexcept {
    if (!state_) return;
    Restore();
    ::unlink(state_->host.c_str());
    state_.reset();
}

const std::string& PendingCopy::Path() const {
    return state_->path;
}

void PendingCopy::Commit() {
    if (::rename(state_->host.c_str(), state_->destination.c_str()) != 0) {
        throw FileError(errno, Missing::Path, state_->windowsDestination);
    }
    state_->Announce();
    state_.reset();
}

void PendingCopy::Switch() {
    State& s = *state_;
    if (s.switched) return;
    struct stat info {};
    if (::lstat(s.destination.c_str(), &info) != 0) {
        if (errno != ENOENT) throw FileError(errno, Missing::Path, s.windowsDestination);
        if (::rename(s.host.c_str(), s.destination.c_str()) != 0) {
            throw FileError(errno, Missing::Path, s.windowsDestination);
        }
    } else {
        // A folder would be moved aside whole and replaced by a file.
        if (S_ISDIR(info.st_mode)) throw NamedError(kvl::kPathFileAccessError, s.windowsDestination);
        // A second name for the previous file, so that the destination is never missing.
        fs::path kept;
        int linked = -1;
        for (int attempt = 0; attempt < 100 && linked != 0; ++attempt) {
            kept = s.destination.parent_path() / TemporaryName(kKeptSuffix);
            linked = ::link(s.destination.c_str(), kept.c_str());
            if (linked != 0 && errno != EEXIST) break;
        }
        if (linked == 0) {
            if (::rename(s.host.c_str(), s.destination.c_str()) != 0) {
                const int error = errno;
                ::unlink(kept.c_str());
                throw FileError(error, Missing::Path, s.windowsDestination);
            }
        } else {
            // A file system without hard links: the previous file is moved aside instead.
            if (::rename(s.destination.c_str(), kept.c_str()) != 0) {
                throw FileError(errno, Missing::Path, s.windowsDestination);
            }
            if (::rename(s.host.c_str(), s.destination.c_str()) != 0) {
                const int error = errno;
                ::rename(kept.c_str(), s.destination.c_str());
                throw FileError(error, Missing::Path, s.windowsDestination);
            }
        }
        s.kept = kept;
    }
    s.switched = true;
    s.Announce();
}

void PendingCopy::Restore() noexcept {
    if (!state_ || !state_->switched) return;
    State& s = *state_;
    // The copy goes back under its temporary name, ready to be switched again.
    if (::link(s.destination.c_str(), s.host.c_str()) != 0) {
        ::rename(s.destination.c_str(), s.host.c_str());
    }
    const bool restored = s.kept.empty()
                              ? ::unlink(s.destination.c_str()) == 0 || errno == ENOENT
                              : ::rename(s.kept.c_str(), s.destination.c_str()) == 0;
    RunLog::Write((restored ? "Ficheiro reposto: " : "Ficheiro não reposto: ") +
                  s.windowsDestination);
    s.kept.clear();
    s.switched = false;
}

void PendingCopy::DropPrevious() noexcept {
    if (!state_) return;
    if (!state_->kept.empty()) ::unlink(state_->kept.c_str());
    state_->kept.clear();
    state_->switched = false;
    state_.reset();
}

bool WindowsFiles::PathOK(const std::string& path) const {
    try {
        return !path.empty() && kvl::PathOK(drives_.ToHost(path).string());
    } catch (const kvl::Error&) {
        return false;
    }
}

void WindowsFiles::CreateFolder(const std::string& path) const {
    if (::mkdir(drives_.ToHost(path).c_str(), 0777) != 0) {
        throw FileError(errno, Missing::Path, errno == ENOENT ? FolderOf(path) : path);
    }
    RunLog::Write("Pasta criada: " + path);
}

bool WindowsFiles::RemoveFolderIfEmpty(const std::string& path) const {
    if (::rmdir(drives_.ToHost(path).c_str()) != 0) return false;
    RunLog::Write("Pasta removida: " + path);
    return true;
}

std::vector<std::string> WindowsFiles::ListFiles(const std::string& pattern) const {
    const size_t cut = pattern.find_last_of('\\');
    if (cut == std::string::npos) throw NamedError(kvl::kPathNotFound, pattern);
    const std::string windowsFolder = pattern.substr(0, cut);
    const fs::path folder = drives_.ToHost(windowsFolder);
    const std::string namePattern = pattern.substr(cut + 1);
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    std::vector<std::string> names;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // A "\" would turn into a folder separator once the name is part of a Windows path.
        if (!name.starts_with('.') && name.find('\\') == std::string::npos &&
            it->is_regular_file(typeError) && MatchesWildcard(name, namePattern)) {
            names.push_back(name);
        }
    }
    if (ec) throw FileError(ec.value(), Missing::Path, windowsFolder);
    // Letters in any case sort together, as a Windows folder lists them.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string foldedA = kvl::Minusculas(a), foldedB = kvl::Minusculas(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    return names;
}

void WindowsFiles::DeleteFile(const std::string& path) const {
    if (::unlink(drives_.ToHost(path).c_str()) != 0) throw FileError(errno, Missing::File, path);
    RunLog::Write("Ficheiro removido: " + path);
}

std::uintmax_t WindowsFiles::FileSize(const std::string& path) const {
    const fs::path file = drives_.ToHost(path);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) throw NamedError(kvl::kFileNotFound, path);
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) throw FileError(error.value(), Missing::File, path);
    return size;
}

void WindowsFiles::CopyFile(const std::string& source, const std::string& destination) const {
    CopyPending(source, destination).Commit();
}

PendingCopy WindowsFiles::CopyPending(const std::string& source,
                                      const std::string& destination) const {
    auto state = std::make_unique<PendingCopy::State>();
    state->destination = drives_.ToHost(destination);
    Descriptor in(::open(drives_.ToHost(source).c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) throw FileError(errno, Missing::File, source);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) throw FileError(errno, Missing::File, source);
    if (S_ISDIR(info.st_mode)) throw NamedError(kvl::kPathFileAccessError, source);

    Descriptor out(CreateBeside(state->destination, info.st_mode & 0777, state->host, destination));
    state->path = FolderOf(destination) + "\\" + state->host.filename().string();
    state->source = source;
    state->windowsDestination = destination;
    state->print = printCopies_;
    PendingCopy pending(std::move(state));  // from here on, a failure removes the copy
    // On the disk before it can take the destination's place.
    int error = CopyContents(in.get(), out.get());
    if (error == 0 && ::fsync(out.get()) != 0) error = errno;
    if (const int closeError = out.Close(); error == 0) error = closeError;
    if (error != 0) throw FileError(error, Missing::Path, destination);
    return pending;
}

}  // namespace winhost
