#include "winhost/StagedPlacement.h"

#include <ranges>

namespace winhost {

std::string StagedPlacement::Stage(const std::string& source, const std::string& target) {
    copies_.push_back(files_.CopyPending(source, target));
    return copies_.back().Path();
}

void StagedPlacement::Switch() {
    try {
        for (PendingCopy& copy : copies_) copy.Switch();
    } catch (...) {
        Restore();
        throw;
    }
}

// From the last, so that a target staged twice ends with its first previous file.
void StagedPlacement::Restore() noexcept {
    for (PendingCopy& copy : std::views::reverse(copies_)) copy.Restore();
}

void StagedPlacement::Undo() noexcept {
    Restore();
    copies_.clear();
}

void StagedPlacement::Finish() noexcept {
    for (PendingCopy& copy : copies_) copy.DropPrevious();
    copies_.clear();
}

}  // namespace winhost
