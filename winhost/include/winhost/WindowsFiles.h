#pragma once
// The file operations both installers carry out, on Windows paths mapped to the host through
// the drive mapping. Every failure is a kvl::Error with its classic number (53 file not found,
// 76 path not found, 70 permission denied, 61 disk full, 75 path/file access error) and a
// Portuguese description naming the Windows path it concerns: the file, or for a 76 the folder
// that is missing. Every change is written to the run's log.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "winhost/DriveMap.h"

namespace winhost {

// A copy kept under a temporary name beside its destination until it takes the destination's
// place, so that it can be finished (a library re-pointed) before anyone sees it. Dropped
// without Commit, the copy is removed and the destination stays as it was (or is put back, after
// Switch).
class PendingCopy {
  public:
    PendingCopy(PendingCopy&& other) noexcept;
    PendingCopy& operator=(PendingCopy&& other) noexcept;
    ~PendingCopy();

    // The Windows path of the copy under its temporary name.
    const std::string& Path() const;
    // The copy replaces the destination whole.
    void Commit();

    // The copy takes the destination's place, the previous file kept under a temporary name
    // beside it until DropPrevious; the destination is never missing meanwhile.
    void Switch();
    // After Switch: the previous file back in its place, the copy back under its temporary
    // name. Nothing before Switch. A file that cannot be put back is written to the run's log.
    void Restore() noexcept;
    // After Switch: the previous file goes, and the copy stays where it is.
    void DropPrevious() noexcept;

  private:
    friend class WindowsFiles;
    struct State;
    explicit PendingCopy(std::unique_ptr<State> state);
    void Discard() noexcept;
    std::unique_ptr<State> state_;
};

class WindowsFiles {
  public:
    explicit WindowsFiles(DriveMap drives) : drives_(std::move(drives)) {}

    const DriveMap& Drives() const { return drives_; }
    // Unattended runs print each file copied, as its log line says it.
    void PrintCopies(bool print) { printCopies_ = print; }

    // A file or folder exists there (hidden ones too); never fails.
    bool PathOK(const std::string& path) const;
    // One level, like MkDir: the parent must exist.
    void CreateFolder(const std::string& path) const;
    // Removes the folder when it holds nothing; false, and nothing changed, when it holds
    // anything or does not exist.
    bool RemoveFolderIfEmpty(const std::string& path) const;
    // "folder\pattern": the regular files of folder whose names match, not hidden (no leading
    // "."), sorted by name in any letter case. Names that are not Windows file names (with a
    // "\") are left out. A missing folder is error 76.
    std::vector<std::string> ListFiles(const std::string& pattern) const;
    void DeleteFile(const std::string& path) const;
    // Size in bytes of a file; error 53 when there is none (a folder is none either).
    std::uintmax_t FileSize(const std::string& path) const;
    // Replaces the destination whole, keeping the source's permission bits (less the umask).
    // The copy is written under a temporary name beside the destination and then renamed over
    // it: a copy that fails leaves the previous file as it was and no temporary file behind.
    void CopyFile(const std::string& source, const std::string& destination) const;
    // The same copy, left under its temporary name until it is committed.
    PendingCopy CopyPending(const std::string& source, const std::string& destination) const;

  private:
    DriveMap drives_;
    bool printCopies_ = false;
};

}  // namespace winhost
