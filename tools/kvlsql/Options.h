#pragma once
// The command line of kvlsql.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ConnectionOptions.h"
#include "Settings.h"

namespace kvlsql {

// Where commands come from, in the order given.
struct Input {
    enum class Kind { kCommand, kFile } kind;
    std::string text;  // the command, or the file name ("-": standard input)

    bool operator==(const Input&) const = default;
};

struct Options {
    kvlsession::ConnectionOptions connection;
    std::vector<Input> inputs;  // -c and -f; none: read standard input
    RunSettings run;
    std::map<std::string, std::string> variables;  // -v NAME=VALUE
    std::optional<std::string> outputFile;         // -o FILE
    bool askPassword = false;                      // -W: ask before connecting
    bool log = false;                              // print the session's SQL log at the end
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name. Options take their value as the next
// argument or after "=" (--db=x); -c and -f take the next argument. Throws
// kvlsession::UsageError for a command line it cannot read.
Options ParseOptions(const std::vector<std::string>& args);

// What --help prints.
std::string HelpText();

}  // namespace kvlsql
