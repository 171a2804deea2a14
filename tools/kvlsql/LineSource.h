#pragma once
// Where the lines of a script come from: a stream (a file, a pipe), or someone typing at a
// terminal (see LineEditor).

#include <istream>
#include <ostream>
#include <string>

namespace kvlsql {

class LineSource {
  public:
    enum class Read {
        kLine,         // a line, without its line break
        kEnd,          // no more lines
        kInterrupted,  // Ctrl-C while typing: the statement under way is dropped
        kFailed,       // the input could not be read
    };
    virtual ~LineSource() = default;
    // The next line; prompt is shown first to someone typing.
    virtual Read Next(std::string& line, const std::string& prompt) = 0;
    // Whether someone types the lines, who gets the prompt back after a failure or Ctrl-C.
    virtual bool Interactive() const { return false; }
};

// The lines of a stream; with a prompt stream, each prompt is written there first, and a
// line break after the end (as after Ctrl-D).
class StreamLines final : public LineSource {
  public:
    explicit StreamLines(std::istream& in, std::ostream* prompt = nullptr)
        : in_(in), prompt_(prompt) {}
    Read Next(std::string& line, const std::string& prompt) override;

  private:
    std::istream& in_;
    std::ostream* prompt_;
};

}  // namespace kvlsql
