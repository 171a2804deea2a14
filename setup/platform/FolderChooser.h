#pragma once
// The modal folder chooser of the Linux layer.

#include <filesystem>
#include <optional>

#include "logic/SetupPlatform.h"

namespace setup {

class FolderChooser {
  public:
    virtual ~FolderChooser() = default;
    // The chosen host folder, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> Choose(WindowHandle owner) = 0;
};

// Qt's folder dialog, owned by the given window.
class DialogFolderChooser : public FolderChooser {
  public:
    std::optional<std::filesystem::path> Choose(WindowHandle owner) override;
};

}  // namespace setup
