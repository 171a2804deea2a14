#pragma once
// Removal of what the installation placed, as its record names it: a symbol library that was
// there before goes back to its original, every other placed file goes, and so do the leftovers
// of a killed run in their folders. Nothing changes unless everything can; without a record
// there is nothing to remove, which is no failure, so a second removal ends at once.

#include <string>
#include <vector>

#include "logic/Manifest.h"
#include "logic/SetupPlatform.h"

namespace setup {

class SetupRemoval {
  public:
    explicit SetupRemoval(SetupPlatform& platform) : platform_(platform) {}

    // Asks for confirmation (Yes/No, No the default), then removes. True when nothing placed
    // by an installation remains (or none was recorded); false when declined or failed, the
    // reason shown.
    bool Run();

  private:
    // Files that would change, in the order they change, ending with the record itself.
    std::vector<std::string> Affected(const Manifest& manifest);
    void Remove(const Manifest& manifest);
    std::vector<std::string> Remaining(const Manifest& manifest);
    bool Fail(const std::string& text);

    SetupPlatform& platform_;
    std::vector<std::string> leftovers_;  // those that could not be removed
};

}  // namespace setup
