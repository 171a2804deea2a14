#pragma once
// The installer's file operations on Windows paths, carried out on the host through the drive
// mapping. Failures are thrown as kvl::Error with the classic numbers of winhost/Files.h.

#include <string>
#include <vector>

#include "winhost/DriveMap.h"

namespace zovlt {

class HostFiles {
  public:
    explicit HostFiles(winhost::DriveMap drives) : drives_(std::move(drives)) {}

    const winhost::DriveMap& Drives() const { return drives_; }

    bool PathOK(const std::string& path) const;
    // One level, like MkDir: the parent must exist.
    void CreateFolder(const std::string& path) const;
    // "folder\pattern": the regular files of folder whose names match, not hidden (no leading
    // "."), sorted by name in any letter case. Names that are not Windows file names (with a "\")
    // are left out. A missing folder is error 76.
    std::vector<std::string> ListFiles(const std::string& pattern) const;
    void DeleteFile(const std::string& path) const;
    // Replaces the destination whole, or leaves it as it was (winhost::ReplaceFile).
    void CopyFile(const std::string& source, const std::string& destination) const;

  private:
    winhost::DriveMap drives_;
};

}  // namespace zovlt
