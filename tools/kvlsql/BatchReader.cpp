#include "BatchReader.h"

#include <algorithm>
#include <cctype>

namespace kvlsql {

namespace {

// The line without surrounding blanks, in lower case: what a control word is tested on.
std::string Word(const std::string& line) {
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto first = std::find_if_not(line.begin(), line.end(), blank);
    auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
    std::string word(first, std::max(first, last));
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

bool HasText(const std::string& batch) {
    return std::any_of(batch.begin(), batch.end(),
                       [](unsigned char c) { return std::isspace(c) == 0; });
}

}  // namespace

BatchReader::BatchReader(std::istream& in, std::ostream* prompt) : in_(in), prompt_(prompt) {}

std::optional<std::string> BatchReader::Next() {
    std::string batch;
    int lineNumber = 0;
    std::string line;
    while (!ended_) {
        ++lineNumber;
        if (prompt_) *prompt_ << lineNumber << "> " << std::flush;
        if (!std::getline(in_, line)) {
            if (prompt_) *prompt_ << '\n';
            ended_ = true;
            break;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();  // text from Windows
        std::string word = Word(line);
        if (word == "exit" || word == "quit") ended_ = true;
        if (word == "go" || ended_) {
            if (HasText(batch)) return batch;
            batch.clear();
            lineNumber = 0;
            continue;
        }
        if (lineNumber > 1) batch += '\n';
        batch += line;
    }
    if (HasText(batch)) return batch;
    return std::nullopt;
}

}  // namespace kvlsql
