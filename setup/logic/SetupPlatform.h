#pragma once
// What the installer's logic asks of the machine: files, registry, the symbol
// library, message boxes and the folder chooser. Paths are Windows paths throughout;
// each platform maps them to its own. Failures are thrown as kvl::Error.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logic/SymbolLibrary.h"
#include "winhost/MessageStyle.h"
#include "winhost/StagedPlacement.h"

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
    // Copies a file, replacing the destination whole, or leaving it as it was on failure.
    virtual void CopyFile(const std::string& source, const std::string& destination) = 0;
    // New files placed together: staged under temporary names, then switched, the previous
    // files kept until the end (see winhost::Placement).
    virtual std::unique_ptr<winhost::Placement> NewPlacement() = 0;
    // Removes what a killed run left below the folder; the paths it could not remove.
    virtual std::vector<std::string> RemoveLeftovers(const std::string& folder) = 0;
    // Opens the symbol library file so that its rows can be changed.
    virtual std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) = 0;
    // A file or folder exists there; never fails.
    virtual bool PathOK(const std::string& path) = 0;
    virtual void DeleteFile(const std::string& path) = 0;
    // Whether the file could be deleted now (a missing one can); asked before anything changes.
    virtual bool CanRemove(const std::string& path) = 0;
    // A whole text file, or nothing when there is none.
    virtual std::optional<std::string> ReadText(const std::string& path) = 0;
    // Writes a text file whole (its folders made as needed), or leaves it as it was.
    virtual void WriteText(const std::string& path, const std::string& text) = 0;
    // The decimal separator of the user's locale.
    virtual std::string DecimalSeparator() = 0;

    // A modal message box: Windows flags in, the chosen button out.
    virtual winhost::Button MsgBox(const std::string& text, int flags,
                                   const std::string& title) = 0;
    // A modal folder chooser opened at the current folder (or the nearest one that exists);
    // the chosen folder's path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(WindowHandle owner,
                                                    const std::string& current) = 0;
};

}  // namespace setup
