#pragma once
// The program's command line.

#include <optional>
#include <string>
#include <vector>

#include "winhost/CommandLine.h"

namespace zovlt {

inline constexpr std::string_view kProgramName = "zovlt-config";

struct Options {
    winhost::HostOptions host;
    std::optional<std::string> classes;
    std::optional<std::string> source;
    bool acceptTerms = false;  // an unattended installation needs it
    bool uninstall = false;
};

// The arguments after the program's name; winhost::UsageError for anything not understood, and
// for an unattended installation without --accept-terms.
Options ParseOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string Usage();

}  // namespace zovlt
