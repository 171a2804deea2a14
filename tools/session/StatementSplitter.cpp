#include "StatementSplitter.h"

#include <cctype>
#include <sstream>

namespace kvlsession {

namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Letters, digits, "_", "$" after the first character, and any byte of a UTF-8 sequence.
bool IsWordChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// Where the "$tag$" that opens a dollar-quoted body at line[i] ends (its last "$"), or
// npos when line[i] opens none: the tag is empty or a word not beginning with a digit,
// so "$1" stays a parameter.
size_t DollarTagEnd(std::string_view line, size_t i) {
    size_t j = i + 1;
    if (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j])))
        return std::string_view::npos;
    while (j < line.size() && line[j] != '$' && IsWordChar(line[j])) ++j;
    return j < line.size() && line[j] == '$' ? j : std::string_view::npos;
}

}  // namespace

void StatementSplitter::AddLine(std::string_view line, std::optional<int64_t> number) {
    line_ = number.value_or(line_ + 1);
    if (!text_.empty()) text_ += '\n';
    size_t i = 0;
    while (i < line.size()) i = mode_ == Mode::kCode ? ScanCode(line, i) : ScanText(line, i);
    EndWord();
}

size_t StatementSplitter::ScanCode(std::string_view line, size_t i) {
    char c = line[i];
    if (c == ':' && variables_) {
        if (line.substr(i, 2) == "::") {
            EndWord();
            Append(line.substr(i, 2), true);
            return i + 2;
        }
        if (size_t next = Substitute(line, i); next != std::string_view::npos) return next;
    }
    if (IsWordChar(c) && !(c == '$' && word_.empty())) {
        word_ += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        Append(line.substr(i, 1), true);
        return i + 1;
    }
    bool escapes = word_ == "e";  // E'...' right after the letter
    EndWord();
    std::string_view two = line.substr(i, 2);
    if (two == "--") {
        Append(line.substr(i), false);
        return line.size();
    }
    if (two == "/*") {
        mode_ = Mode::kBlockComment;
        Append(two, false);
        return i + 2;
    }
    if (c == ';' && blocks_ == 0) {
        EndStatement();
        return i + 1;
    }
    size_t next = i + 1;
    if (c == '\'' || c == '"') {
        mode_ = c == '\'' ? Mode::kSingleQuote : Mode::kDoubleQuote;
        backslashes_ = c == '\'' && escapes;
    } else if (size_t end = c == '$' ? DollarTagEnd(line, i) : std::string_view::npos;
               end != std::string_view::npos) {
        mode_ = Mode::kDollarBody;
        tag_ = line.substr(i, end - i + 1);
        next = end + 1;
    }
    Append(line.substr(i, next - i), !IsBlank(c));
    return next;
}

size_t StatementSplitter::Substitute(std::string_view line, size_t i) {
    size_t start = i + 1;
    char quote =
        start < line.size() && (line[start] == '\'' || line[start] == '"') ? line[start] : 0;
    if (quote) ++start;
    size_t end = start;
    if (end < line.size() && !std::isdigit(static_cast<unsigned char>(line[end])))
        while (end < line.size() && IsWordChar(line[end]) && line[end] != '$') ++end;
    if (end == start || (quote && (end >= line.size() || line[end] != quote)))
        return std::string_view::npos;
    std::optional<std::string> value = variables_(line.substr(start, end - start));
    if (!value) return std::string_view::npos;
    EndWord();
    if (quote) {
        std::string quoted(1, quote);
        for (char c : *value) quoted += c == quote ? std::string(2, c) : std::string(1, c);
        *value = quoted + quote;
    }
    Append(*value, true);
    return quote ? end + 1 : end;
}

size_t StatementSplitter::ScanText(std::string_view line, size_t i) {
    size_t end = std::string_view::npos;  // just past the closing delimiter
    if (mode_ == Mode::kBlockComment || mode_ == Mode::kDollarBody) {
        std::string_view closing = mode_ == Mode::kBlockComment ? "*/" : std::string_view(tag_);
        size_t at = line.find(closing, i);
        if (at != std::string_view::npos) end = at + closing.size();
    } else {
        char quote = mode_ == Mode::kSingleQuote ? '\'' : '"';
        // A doubled quote closes the text and opens it again at once: no special case.
        for (size_t j = i; j < line.size() && end == std::string_view::npos; ++j) {
            if (backslashes_ && line[j] == '\\') {
                ++j;
            } else if (line[j] == quote) {
                end = j + 1;
            }
        }
    }
    bool quoted = mode_ != Mode::kBlockComment;
    if (end == std::string_view::npos) {
        Append(line.substr(i), quoted);
        return line.size();
    }
    mode_ = Mode::kCode;
    Append(line.substr(i, end - i), quoted);
    return end;
}

void StatementSplitter::Append(std::string_view part, bool content) {
    if (content && begin_ == std::string::npos) {
        begin_ = text_.size();
        beginLine_ = line_;
    }
    text_ += part;
    if (content) end_ = text_.size();
}

void StatementSplitter::EndWord() {
    if (word_.empty()) return;
    if (words_++ == 0) {
        create_ = word_ == "create";
    } else if (create_ && (word_ == "begin" || word_ == "case")) {
        ++blocks_;
    } else if (create_ && word_ == "end" && blocks_ > 0) {
        --blocks_;
    }
    word_.clear();
}

void StatementSplitter::EndStatement() {
    if (HasPending()) done_.push_back({text_.substr(begin_, end_ - begin_), beginLine_});
    text_.clear();
    begin_ = end_ = std::string::npos;
    words_ = 0;
    create_ = false;
    blocks_ = 0;
}

std::optional<std::string> StatementSplitter::Next() {
    if (done_.empty()) return std::nullopt;
    Statement statement = std::move(done_.front());
    done_.pop_front();
    startLine_ = statement.line;
    return std::move(statement.text);
}

std::string StatementSplitter::TakePending() {
    EndWord();
    std::string statement = HasPending() ? text_.substr(begin_, end_ - begin_) : "";
    startLine_ = beginLine_;
    mode_ = Mode::kCode;
    begin_ = std::string::npos;  // so EndStatement queues nothing
    EndStatement();
    return statement;
}

std::vector<std::string> SplitStatements(const std::string& text) {
    StatementSplitter splitter;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) splitter.AddLine(line);
    std::vector<std::string> statements;
    while (auto statement = splitter.Next()) statements.push_back(std::move(*statement));
    if (std::string rest = splitter.TakePending(); !rest.empty()) statements.push_back(rest);
    return statements;
}

}  // namespace kvlsession
