#pragma once
// The program's command line.

#include <optional>
#include <string>
#include <vector>

namespace zovlt {

struct Options {
    std::optional<std::string> driveC;
    std::optional<std::string> classes;
    std::optional<std::string> source;
    bool unattended = false;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line is good
};

// arguments without the program name.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string Usage();

}  // namespace zovlt
