#pragma once
// The installer's platform on Linux: Windows paths mapped to host paths, the
// registry read from a registry file, the library opened through ODBC.

#include <filesystem>
#include <optional>
#include <string>

#include "../logic/SetupPlatform.h"
#include "DriveMap.h"
#include "Prompts.h"
#include "RegistryFile.h"

namespace setup {

struct LinuxPlatformOptions {
    std::filesystem::path driveC;
    std::filesystem::path registryFile;
    std::optional<std::filesystem::path> staging;  // else the temporary folder
    std::string libraryConnection;                 // template with %FILE%
};

class LinuxPlatform : public SetupPlatform {
  public:
    LinuxPlatform(LinuxPlatformOptions options, Prompts& prompts);

    std::string TempFolder() override;
    std::uintmax_t FileSize(const std::string& path) override;
    std::string RegRead(const std::string& path) override;
    void CopyFile(const std::string& source, const std::string& destination) override;
    std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) override;
    std::string DecimalSeparator() override;
    int MsgBox(const std::string& text, int flags, const std::string& title) override;
    std::optional<std::string> ChooseFolder(WindowHandle owner) override;

  private:
    LinuxPlatformOptions options_;
    Prompts& prompts_;
    DriveMap drives_;
    std::optional<RegistryFile> registry_;  // read on first use
};

}  // namespace setup
