#include "winhost/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

namespace winhost {

namespace fs = std::filesystem;

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
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
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

// A hidden name that no listing of the installers shows, short enough for any target name.
std::string TemporaryName() {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string name = ".winhost-";
    for (int i = 0; i < 10; ++i) name += kLetters[pick(generator)];
    return name + ".part";
}

// A new file beside the target that becomes the target on Commit and is removed otherwise.
class TemporaryFile {
  public:
    TemporaryFile(const fs::path& target, mode_t mode) : target_(target) {
        for (int attempt = 0;; ++attempt) {
            path_ = target.parent_path() / TemporaryName();
            // O_EXCL: never another file that happens to have the name. The umask applies.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                descriptor_.Reset(fd);
                return;
            }
            if (errno != EEXIST || attempt == 100) throw FileError(errno, Missing::Path);
        }
    }
    ~TemporaryFile() {
        if (!committed_) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int get() const { return descriptor_.get(); }

    // On the disk first, then in the target's place.
    void Commit() {
        if (::fsync(descriptor_.get()) != 0) throw FileError(errno, Missing::Path);
        if (int error = descriptor_.Close()) throw FileError(error, Missing::Path);
        if (::rename(path_.c_str(), target_.c_str()) != 0) throw FileError(errno, Missing::Path);
        committed_ = true;
    }

  private:
    fs::path target_;
    fs::path path_;
    Descriptor descriptor_{-1};
    bool committed_ = false;
};

}  // namespace

kvl::Error FileError(int errnoValue, Missing missing) {
    switch (errnoValue) {
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
        case EFBIG:
            return kvl::Error(kvl::kDiskFull);
        default:
            return kvl::Error(kvl::kPathFileAccessError);
    }
}

void ReplaceFile(const fs::path& source, const fs::path& target) {
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) throw FileError(errno, Missing::File);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) throw FileError(errno, Missing::File);
    if (S_ISDIR(info.st_mode)) throw kvl::Error(kvl::kPathFileAccessError);
    TemporaryFile copy(target, info.st_mode & 0777);
    if (int error = CopyContents(in.get(), copy.get())) throw FileError(error, Missing::Path);
    copy.Commit();
}

}  // namespace winhost
