#pragma once
// Lines as someone types them at a terminal, Ctrl-C among them, for the script reader.

#include <optional>
#include <string>
#include <vector>

#include "LineSource.h"

namespace kvltest {

class TypedLines final : public kvlsql::LineSource {
  public:
    // Each line as typed; nothing stands for Ctrl-C.
    explicit TypedLines(std::vector<std::optional<std::string>> lines) : lines_(std::move(lines)) {}
    Read Next(std::string& line, const std::string& prompt) override {
        prompts.push_back(prompt);
        if (next_ == lines_.size()) return Read::kEnd;
        const std::optional<std::string>& typed = lines_[next_++];
        if (!typed) return Read::kInterrupted;
        line = *typed;
        return Read::kLine;
    }
    bool Interactive() const override { return true; }

    std::vector<std::string> prompts;  // every prompt shown, in order

  private:
    std::vector<std::optional<std::string>> lines_;
    size_t next_ = 0;
};

}  // namespace kvltest
