#pragma once
// The record of a run asked for with --log FILE: every step, every file copied, every message
// and the answer given, one per line after the date and time. Lines are added to the end of
// the file and written out at once, so the record survives whatever ends the run.

#include <filesystem>
#include <string_view>

namespace winhost {

class RunLog {
  public:
    // From now on lines go to file; throws UsageError when it cannot be written.
    static void Open(const std::filesystem::path& file);
    // Writes the text on one line (see OneLine); nothing when no log is open.
    static void Write(std::string_view text);
};

}  // namespace winhost
