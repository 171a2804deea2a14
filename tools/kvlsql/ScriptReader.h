#pragma once
// Reads a script (a file, standard input, or lines typed at a terminal) line by line and
// hands out its statements as they end: at ";" (see StatementSplitter), at a line holding
// only GO or GO n, or at the end of the input. A line holding only EXIT or QUIT ends the
// script. A line beginning with a backslash (\d TABLE) is a command of its own, whatever
// statement is under way.

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "LineSource.h"
#include "StatementSplitter.h"

namespace kvlsql {

struct ScriptCommand {
    std::string sql;
    int32_t times = 1;  // GO n runs the statement it ends n times
    int64_t line = 0;   // where it begins in the script
};

// A line the reader cannot follow, at line `line` of the script. Reading can go on
// after it.
class ScriptError : public std::runtime_error {
  public:
    ScriptError(int64_t line, const std::string& what) : std::runtime_error(what), line(line) {}
    int64_t line;
};

class ScriptReader {
  public:
    // name: how messages call the script.
    ScriptReader(LineSource& lines, std::string name);
    // The lines of a stream; prompt, when given, receives a numbered prompt before each
    // line ("1> ", "2> ", ... within a statement), for someone typing.
    ScriptReader(std::istream& in, std::string name, std::ostream* prompt = nullptr);

    // The next statement to run, and how often; nothing once the input is over. GO n
    // ends the unfinished statement and runs it n times; when a ";" already ended the
    // statement before it (since the last GO), that one runs n - 1 times more. The
    // statement that EXIT, QUIT or the end of the input interrupts still runs; one that
    // Ctrl-C interrupts while it is typed does not. Throws ScriptError for GO with a count
    // below 1 or beyond 2147483647 (the statement it ends is dropped) and for input that
    // cannot be read.
    std::optional<ScriptCommand> Next();

    // Whether a line EXIT or QUIT ended the script.
    bool Quit() const { return quit_; }
    const std::string& Name() const { return name_; }
    // Whether someone types the script at a terminal.
    bool Interactive() const { return lines_.Interactive(); }
    // Variables to put in for :NAME in the statements read from now on.
    void SetVariables(kvlsession::StatementSplitter::Variables lookup) {
        splitter_.SetVariables(std::move(lookup));
    }

  private:
    bool ReadLine(std::string& line);
    std::optional<ScriptCommand> Go(const std::string& count);
    void DropPending();

    std::unique_ptr<StreamLines> stream_;  // the lines of a stream given to the constructor
    LineSource& lines_;
    std::string name_;
    kvlsession::StatementSplitter splitter_;
    std::string last_;  // the last statement a ";" ended since the last GO
    int64_t lastLine_ = 0;
    int64_t line_ = 0;
    int32_t promptLine_ = 1;
    bool ended_ = false;
    bool quit_ = false;
};

}  // namespace kvlsql
