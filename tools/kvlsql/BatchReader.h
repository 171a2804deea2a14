#pragma once
// Splits the commands typed or piped in into batches: a batch ends at a line holding
// only GO, or at the end of the input.

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace kvlsql {

class BatchReader {
  public:
    // prompt, when given, receives a numbered prompt before each line is read
    // ("1> ", "2> ", ... within a batch), as for someone typing at a terminal.
    explicit BatchReader(std::istream& in, std::ostream* prompt = nullptr);

    // The next batch that holds more than blanks, its lines joined by "\n"; nothing
    // once the input is over. A line holding only EXIT or QUIT ends the input as its
    // end would: the batch it interrupts still runs.
    std::optional<std::string> Next();

  private:
    std::istream& in_;
    std::ostream* prompt_;
    bool ended_ = false;
};

}  // namespace kvlsql
