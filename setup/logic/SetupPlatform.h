#pragma once
// What the installer's logic asks of the machine: files, registry, the symbol
// library, message boxes and the folder chooser. Paths are Windows paths throughout;
// each platform maps them to its own. Failures are thrown as kvl::Error.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "logic/SymbolLibrary.h"
#include "winhost/MessageStyle.h"

namespace setup {

// The window that owns a modal dialog, as the platform identifies it.
using WindowHandle = std::uintptr_t;

class SetupPlatform {
  public:
    virtual ~SetupPlatform() = default;

    // The user's temporary folder, without a trailing "\".
    virtual std::string TempFolder() = 0;
    // Size in bytes; error 53 when the file is missing.
    virtual std::uintmax_t FileSize(const std::string& path) = 0;
    // A registry string value by its full path (hive\key\...\value name).
    virtual std::string RegRead(const std::string& path) = 0;
    // Copies a file, overwriting the destination.
    virtual void CopyFile(const std::string& source, const std::string& destination) = 0;
    // Opens the symbol library file so that its rows can be changed.
    virtual std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) = 0;
    // The decimal separator of the user's locale.
    virtual std::string DecimalSeparator() = 0;

    // A modal message box: Windows flags in, the chosen button out.
    virtual winhost::Button MsgBox(const std::string& text, int flags,
                                   const std::string& title) = 0;
    // A modal folder chooser; the chosen folder's path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(WindowHandle owner) = 0;
};

}  // namespace setup
