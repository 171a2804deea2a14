#pragma once
// Lines typed at a terminal, edited with libedit: arrows move and recall, history kept
// between sessions, Ctrl-C drops what is being typed, Ctrl-D on an empty line ends.

#include <filesystem>
#include <string>

#include "LineSource.h"

namespace kvlsql {

class Interrupts;

class LineEditor final : public LineSource {
  public:
    // history: the file the lines typed are kept in (made 0600, its folder 0700 when
    // missing); interrupts: whose Ctrl-C stops the line being typed.
    LineEditor(std::filesystem::path history, Interrupts& interrupts);
    // Writes the history.
    ~LineEditor() override;
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    Read Next(std::string& line, const std::string& prompt) override;
    bool Interactive() const override { return true; }

  private:
    void SaveHistory() const;

    std::filesystem::path history_;
    Interrupts& interrupts_;
};

// Where kvlsql keeps the lines typed: $XDG_STATE_HOME/kvl2005/kvlsql_history, or
// ~/.local/state/kvl2005/kvlsql_history.
std::filesystem::path HistoryFile();

}  // namespace kvlsql
