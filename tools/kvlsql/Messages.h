#pragma once
// What kvlsql tells about the commands it runs, on standard error, each line after the
// place of the command: "FILE:LINE: ERROR SQLSTATE: message" for a failure, "FILE:LINE:
// NOTICE: ..." or "WARNING: ..." for what the server says besides.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace kvlsql {

struct Location {
    std::string source;  // a script's name, "standard input", or "-c"
    int64_t line = 1;
};

class Messages {
  public:
    explicit Messages(std::ostream& err) : err_(err) {}

    // The command now running is at `where`.
    void At(Location where) { where_ = std::move(where); }
    const Location& Where() const { return where_; }

    // A failure the driver reported, with its SQLSTATE and its message as the driver gave it.
    void DriverError(std::string_view state, std::string_view message);
    // A failure of kvlsql's own.
    void Error(std::string_view message);
    // A success with information: the server's notices and warnings, one a line.
    void Notices(std::string_view state, std::string_view message);

  private:
    std::string Prefix() const;

    std::ostream& err_;
    Location where_;
};

// A driver's message without what only repeats the circumstances: the driver manager's and
// the driver's names in brackets, PostgreSQL's "ERROR: " before it and the "Error while
// executing the query" after it, and blanks and line breaks at either end.
std::string DriverMessage(std::string_view text);

}  // namespace kvlsql
