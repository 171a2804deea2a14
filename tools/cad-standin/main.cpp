// cad-standin: a stand-in for the CAD application's automation server, so the add-on
// installer runs end to end on Linux. Its state lives in a JSON file, written after every
// call that may change it. Protocol: winhost/Wire.h; members: CadServer.h.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "CadServer.h"
#include "winhost/Wire.h"

namespace {

constexpr const char* kUsage =
    "Usage: cad-standin [--state FILE] [--drive-c DIR]\n"
    "Serves the CAD application's automation members on standard input and output.\n"
    "  --state FILE    the JSON state file, created with the default state when missing\n"
    "                  (default $XDG_STATE_HOME/cad-standin/state.json, else\n"
    "                  ~/.local/state/cad-standin/state.json)\n"
    "  --drive-c DIR   host folder of drive C: (default the folder the installer passes\n"
    "                  in WINHOST_DRIVE_C, else $WINEPREFIX/drive_c, else ~/.wine/drive_c)\n";

struct Arguments {
    std::string stateFile;
    std::optional<std::filesystem::path> driveC;
};

// The user's state folder, as the XDG base directories name it; its folder is made on use.
std::string DefaultStateFile() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path folder =
        (state && *state ? std::filesystem::path(state)
                         : std::filesystem::path(home ? home : "") / ".local" / "state") /
        "cad-standin";
    std::filesystem::create_directories(folder);
    return (folder / "state.json").string();
}

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 == argc) return std::nullopt;
        if (name == "--state") {
            arguments.stateFile = argv[++i];
        } else if (name == "--drive-c") {
            arguments.driveC = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

// Starting the application opens a new drawing when none is open, as the real one does.
standin::CadState Started(const std::string& stateFile) {
    standin::CadState state = standin::LoadState(stateFile);
    state.running = true;
    if (state.documents.empty()) state.documents.push_back("Drawing1.dwg");
    return state;
}

int Serve(Arguments arguments) {
    if (arguments.stateFile.empty()) arguments.stateFile = DefaultStateFile();
    standin::CadState state = Started(arguments.stateFile);
    standin::SaveState(arguments.stateFile, state);
    standin::CadServer server(
        state, winhost::DriveMap::FromEnvironment(
                   arguments.driveC ? arguments.driveC : winhost::DriveMap::Inherited()));
    std::cout << winhost::wire::kReady << std::endl;
    for (std::string line; !server.QuitCalled() && std::getline(std::cin, line);) {
        const std::string answer = server.Handle(line);
        if (line.rfind("put", 0) == 0 || line.rfind("call", 0) == 0) {
            standin::SaveState(arguments.stateFile, state);
        }
        std::cout << answer << std::endl;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::cout << kUsage;
        return 0;
    }
    const auto arguments = Parse(argc, argv);
    if (!arguments) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return Serve(*arguments);
    } catch (const std::exception& error) {
        std::cerr << "cad-standin: " << error.what() << "\n";
        return 1;
    }
}
