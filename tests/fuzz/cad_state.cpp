// The stand-in's JSON state: loaded, written back and loaded again to the same state.
#include <cstdlib>
#include <stdexcept>

#include "FuzzFile.h"
#include "cad-standin/CadState.h"

namespace {

bool Same(const standin::MenuGroup& a, const standin::MenuGroup& b) {
    return a.name == b.name && a.file == b.file && a.menus == b.menus;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    standin::CadState state;
    try {
        state = standin::LoadState(kvlfuzz::FileWith(data, size));
    } catch (const std::runtime_error&) {  // malformed: a clear error is the answer
        return 0;
    }
    const std::string copy = kvlfuzz::FilePath() + ".saved";
    standin::SaveState(copy, state);
    const standin::CadState again = standin::LoadState(copy);
    std::filesystem::remove(copy);
    bool same = again.supportPath == state.supportPath && again.menuBar == state.menuBar &&
                again.documents == state.documents && again.visible == state.visible &&
                again.running == state.running && again.otherKeys == state.otherKeys &&
                again.menuGroups.size() == state.menuGroups.size();
    for (size_t i = 0; same && i < state.menuGroups.size(); ++i)
        same = Same(again.menuGroups[i], state.menuGroups[i]);
    if (!same) std::abort();  // a state that does not survive its own file loses data
    return 0;
}
