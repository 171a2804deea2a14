#pragma once
// The command line of kvlsql.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvlsql {

// Where commands come from, in the order given.
struct Input {
    enum class Kind { kCommand, kFile } kind;
    std::string text;  // the command, or the file name ("-": standard input)

    bool operator==(const Input&) const = default;
};

struct Options {
    // Connection properties; all empty means the embedded default database.
    std::optional<std::string> dsn, driver, server, db, uid, pwd;
    std::optional<std::string> connect;  // a whole connection text, used as given
    std::optional<int16_t> stack;        // base slots of the statement stack
    std::vector<Input> inputs;           // -c and -f; none: read standard input
    bool count = false;                  // ask for the row-count prediction
    bool stopOnError = false;            // stop at the first command that fails
    bool log = false;                    // print the session's SQL log at the end
    bool help = false;

    bool UsesDefaultDatabase() const;
};

// A command line that cannot be understood; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Options take their value as the next
// argument or after "=" (--db=x); -c and -f take the next argument.
Options ParseOptions(const std::vector<std::string>& args);

// What --help prints.
std::string HelpText();

}  // namespace kvlsql
