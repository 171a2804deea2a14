#pragma once
// New files placed together, so that a run that fails, is cancelled or is killed leaves the
// previous installation as it was: every file is first copied beside its target under a
// temporary name (Stage), then all take their targets' places (Switch), the previous files kept
// until the run is over (Finish) so that Undo can put them back. A killed run leaves only
// temporary files, which RemoveLeftovers (Removal.h) takes away.

#include <string>
#include <vector>

#include "winhost/WindowsFiles.h"

namespace winhost {

// What the installers' logic sees of a placement; their tests give it their own.
class Placement {
  public:
    virtual ~Placement() = default;
    // Copies source beside target under a temporary name and gives that name's Windows path,
    // where the copy can still be changed. A failure leaves nothing of this copy behind.
    virtual std::string Stage(const std::string& source, const std::string& target) = 0;
    // Every staged copy takes its target's place. On failure those already switched are put
    // back and every copy stays staged, so Switch may be tried again.
    virtual void Switch() = 0;
    // The previous files back in their places and the copies removed; nothing changed by the
    // placement remains. Files that cannot be put back are written to the run's log.
    virtual void Undo() noexcept = 0;
    // The previous files go; from here on the new ones stay.
    virtual void Finish() noexcept = 0;
};

// A placement of real files. Dropped without Finish, it undoes itself.
class StagedPlacement : public Placement {
  public:
    explicit StagedPlacement(const WindowsFiles& files) : files_(files) {}
    ~StagedPlacement() override { Undo(); }
    StagedPlacement(const StagedPlacement&) = delete;
    StagedPlacement& operator=(const StagedPlacement&) = delete;

    std::string Stage(const std::string& source, const std::string& target) override;
    void Switch() override;
    void Undo() noexcept override;
    void Finish() noexcept override;

  private:
    void Restore() noexcept;

    const WindowsFiles& files_;
    std::vector<PendingCopy> copies_;
};

}  // namespace winhost
