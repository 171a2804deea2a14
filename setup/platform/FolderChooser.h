#pragma once
// The modal folder chooser of the Linux layer.

#include <filesystem>
#include <optional>

#include "logic/SetupPlatform.h"

namespace setup {

class FolderChooser {
  public:
    virtual ~FolderChooser() = default;
    // The chosen host folder, or nothing when cancelled. The chooser opens at start and offers
    // drive C:'s folder as a shortcut.
    virtual std::optional<std::filesystem::path> Choose(WindowHandle owner,
                                                        const std::filesystem::path& start,
                                                        const std::filesystem::path& driveC) = 0;
};

// Qt's own folder dialog (not the desktop's, so that it takes the shortcuts and speaks the
// language of the program's translations), owned by the given window.
class DialogFolderChooser : public FolderChooser {
  public:
    std::optional<std::filesystem::path> Choose(WindowHandle owner,
                                                const std::filesystem::path& start,
                                                const std::filesystem::path& driveC) override;
};

}  // namespace setup
