#pragma once
// The installer's platform on Linux: Windows paths mapped to host paths, the registry read
// from a registry file, the library opened through ODBC, message boxes as the Windows host
// layer shows them.

#include <filesystem>
#include <optional>
#include <string>

#include "logic/SetupPlatform.h"
#include "platform/FolderChooser.h"
#include "platform/RegistryFile.h"
#include "winhost/MessageBoxes.h"
#include "winhost/WindowsFiles.h"

namespace setup {

struct LinuxPlatformOptions {
    std::filesystem::path driveC;
    std::filesystem::path registryFile;
    std::optional<std::filesystem::path> staging;  // else the temporary folder
    std::string libraryConnection;                 // template with %FILE% or %URI%
    bool printCopies = false;                      // each file copied is printed (unattended)
};

class LinuxPlatform : public SetupPlatform {
  public:
    // Without a folder chooser (unattended) every choice is cancelled.
    LinuxPlatform(LinuxPlatformOptions options, winhost::MessageBoxes& boxes,
                  FolderChooser* chooser = nullptr);

    std::string TempFolder() override;
    std::uintmax_t FileSize(const std::string& path) override;
    std::string RegRead(const std::string& path) override;
    void CopyFile(const std::string& source, const std::string& destination) override;
    std::unique_ptr<winhost::Placement> NewPlacement() override;
    std::vector<std::string> RemoveLeftovers(const std::string& folder) override;
    std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) override;
    bool PathOK(const std::string& path) override { return files_.PathOK(path); }
    void DeleteFile(const std::string& path) override { files_.DeleteFile(path); }
    bool CanRemove(const std::string& path) override;
    std::optional<std::string> ReadText(const std::string& path) override;
    void WriteText(const std::string& path, const std::string& text) override;
    std::string DecimalSeparator() override;
    winhost::Button MsgBox(const std::string& text, int flags, const std::string& title) override;
    std::optional<std::string> ChooseFolder(WindowHandle owner,
                                            const std::string& current) override;

  private:
    LinuxPlatformOptions options_;
    winhost::MessageBoxes& boxes_;
    FolderChooser* chooser_;
    winhost::WindowsFiles files_;
    std::optional<RegistryFile> registry_;  // read on first use
};

}  // namespace setup
