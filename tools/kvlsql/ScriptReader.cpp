#include "ScriptReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace kvlsql {

namespace {

enum class Control { kNone, kEnd, kGo, kBackslash };

struct ControlLine {
    Control kind = Control::kNone;
    // GO's count as written (empty for a plain GO), or the whole backslash command
    std::string text;
};

// What a line outside quoted text means to the reader.
ControlLine ControlOf(std::string_view line) {
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto first = std::find_if_not(line.begin(), line.end(), blank);
    auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
    std::string word(first, std::max(first, last));
    if (word.starts_with('\\')) return {Control::kBackslash, word};
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "exit" || word == "quit") return {Control::kEnd, ""};
    if (word == "go") return {Control::kGo, ""};
    size_t digits = word.find_first_not_of(" \t", 2);
    // GOTO or GO GO is text of the statement.
    if (!word.starts_with("go") || digits == 2 ||
        word.find_first_not_of("0123456789", digits) != std::string::npos)
        return {};
    return {Control::kGo, word.substr(digits)};
}

}  // namespace

ScriptReader::ScriptReader(LineSource& lines, std::string name)
    : lines_(lines), name_(std::move(name)) {}

ScriptReader::ScriptReader(std::istream& in, std::string name, std::ostream* prompt)
    : stream_(std::make_unique<StreamLines>(in, prompt)),
      lines_(*stream_),
      name_(std::move(name)) {}

std::optional<ScriptCommand> ScriptReader::Next() {
    while (true) {
        if (auto statement = splitter_.Next()) {
            last_ = *statement;
            lastLine_ = splitter_.StartLine();
            return ScriptCommand{std::move(*statement), 1, lastLine_};
        }
        if (ended_) {
            std::string rest = splitter_.TakePending();
            if (rest.empty()) return std::nullopt;
            return ScriptCommand{std::move(rest), 1, splitter_.StartLine()};
        }
        std::string line;
        if (!ReadLine(line)) continue;
        ControlLine control = splitter_.InsideText() ? ControlLine{} : ControlOf(line);
        if (control.kind == Control::kEnd) {
            ended_ = quit_ = true;
        } else if (control.kind == Control::kBackslash) {
            // A statement under way stays pending.
            return ScriptCommand{control.text, 1, line_};
        } else if (control.kind == Control::kGo) {
            promptLine_ = 1;
            if (auto command = Go(control.text)) return command;
        } else {
            splitter_.AddLine(line, line_);
            bool open = splitter_.HasPending() || splitter_.InsideText();
            promptLine_ = open ? promptLine_ + 1 : 1;
        }
    }
}

bool ScriptReader::ReadLine(std::string& line) {
    switch (lines_.Next(line, std::to_string(promptLine_) + "> ")) {
        case LineSource::Read::kLine:
            break;
        case LineSource::Read::kInterrupted:
            DropPending();
            promptLine_ = 1;
            return false;
        case LineSource::Read::kEnd:
            ended_ = true;
            return false;
        case LineSource::Read::kFailed:
            ended_ = true;
            DropPending();  // cut short: not to be run
            throw ScriptError(line_ + 1, "reading failed");
    }
    ++line_;
    // A byte-order mark, as some editors write, is no part of the first statement.
    if (line_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // text from Windows
    return true;
}

std::optional<ScriptCommand> ScriptReader::Go(const std::string& count) {
    int32_t times = 1;
    if (!count.empty()) {
        auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), times);
        if (ec != std::errc() || end != count.data() + count.size() || times < 1) {
            DropPending();
            throw ScriptError(line_, "GO needs a count from 1 to 2147483647, not " + count +
                                         "; the statement it ends was not run");
        }
    }
    std::string sql = splitter_.TakePending();
    int64_t start = splitter_.StartLine();
    if (sql.empty()) {
        // Its ";" ran it once already.
        sql = std::exchange(last_, {});
        start = lastLine_;
        --times;
    }
    last_.clear();
    if (sql.empty() || times == 0) return std::nullopt;
    return ScriptCommand{std::move(sql), times, start};
}

void ScriptReader::DropPending() {
    splitter_.TakePending();
    last_.clear();
}

}  // namespace kvlsql
