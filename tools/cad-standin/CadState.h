#pragma once
// What the stand-in CAD application remembers between runs, kept in a JSON file that tests
// read to see what an installation did.

#include <string>
#include <vector>

namespace standin {

struct MenuGroup {
    std::string name;
    std::string file;  // Windows path it was loaded from
    std::vector<std::string> menus;
    std::string otherKeys = "{}";  // a JSON object: what the file holds beyond the above
};

struct CadState {
    std::string supportPath;
    std::vector<MenuGroup> menuGroups;
    std::vector<std::string> menuBar;  // menu names, left to right
    std::vector<std::string> documents;
    bool visible = true;
    bool running = false;
    std::string otherKeys = "{}";  // a JSON object: what the file holds beyond the above
};

// One open drawing, the group "ACAD" with both its menus in the bar, two support folders.
CadState DefaultState();

// A missing file gives the default state; an unreadable or malformed one throws
// std::runtime_error. Keys the stand-in does not know are kept and written back unchanged.
CadState LoadState(const std::string& file);

// Replaces the file as a whole, so a reader never sees half of it. Throws std::runtime_error.
void SaveState(const std::string& file, const CadState& state);

}  // namespace standin
