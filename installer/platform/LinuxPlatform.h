#pragma once
// The installer's platform on Linux: Windows paths through drive C:, processes started from
// the program's folder or PATH, links through the desktop, automation objects through the
// class registry, message boxes as the Windows host layer shows them.

#include "logic/InstallPlatform.h"
#include "platform/ClassRegistry.h"
#include "winhost/MessageBoxes.h"
#include "winhost/Removal.h"
#include "winhost/WindowsFiles.h"

namespace zovlt {

class LinuxPlatform : public InstallPlatform {
  public:
    LinuxPlatform(winhost::WindowsFiles files, ClassRegistry classes, winhost::MessageBoxes& boxes)
        : files_(std::move(files)), classes_(std::move(classes)), boxes_(boxes) {}

    bool PathOK(const std::string& path) override { return files_.PathOK(path); }
    void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
    bool RemoveFolderIfEmpty(const std::string& path) override {
        return files_.RemoveFolderIfEmpty(path);
    }
    std::vector<std::string> ListFiles(const std::string& pattern) override {
        return files_.ListFiles(pattern);
    }
    void DeleteFile(const std::string& path) override { files_.DeleteFile(path); }
    bool CanRemove(const std::string& path) override {
        return winhost::CanRemove(files_.Drives(), path);
    }
    std::vector<std::string> RemoveLeftovers(const std::string& folder) override {
        return winhost::RemoveLeftovers(files_.Drives(), folder);
    }
    std::unique_ptr<winhost::Placement> NewPlacement() override {
        return std::make_unique<winhost::StagedPlacement>(files_);
    }
    void StartHidden(const std::string& commandLine) override;
    void RunHidden(const std::string& commandLine) override;
    void OpenLink(const std::string& url) override;
    winhost::Button MessageBox(const std::string& text, int flags) override {
        return boxes_.Show(text, flags);
    }
    std::unique_ptr<CadApplication> CreateObject(const std::string& className) override;

  private:
    winhost::WindowsFiles files_;
    ClassRegistry classes_;
    winhost::MessageBoxes& boxes_;
};

}  // namespace zovlt
