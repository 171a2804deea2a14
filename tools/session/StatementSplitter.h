#pragma once
// Cuts script text into statements at ";", as psql and the sqlite3 shell do, so each
// statement can be sent on its own (the SQLite driver takes one per call). A ";" does not
// end a statement inside quoted text ('...' and E'...' with backslash escapes, "..."),
// comments (-- to the end of the line, /* ... */), dollar-quoted bodies ($$...$$,
// $tag$...$tag$), nor inside the BEGIN ... END or CASE ... END blocks of a CREATE
// statement (a trigger or routine body).

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvlsession {

class StatementSplitter {
  public:
    // The value of a variable by name; nothing when there is none of that name.
    using Variables = std::function<std::optional<std::string>(std::string_view name)>;

    // Adds one line of the script (without its line break): line number `number` (from 1),
    // by default the one after the line added before.
    void AddLine(std::string_view line, std::optional<int64_t> number = std::nullopt);

    // The next statement the lines so far have ended: from its first token to its last,
    // so without its ";" and the blanks and comments around it (the SQLite driver takes
    // a ";" inside a comment for a second statement). Statements of nothing but blanks
    // and comments are skipped.
    std::optional<std::string> Next();

    // Whether the text so far stops inside quoted text, a block comment or a
    // dollar-quoted body: the next line continues it, whatever it holds.
    bool InsideText() const { return mode_ != Mode::kCode; }

    // Whether the unfinished statement holds more than blanks and comments.
    bool HasPending() const { return begin_ != std::string::npos; }

    // Ends the unfinished statement where it stands and gives its text ("" when it holds
    // nothing but blanks and comments).
    std::string TakePending();

    // The line where the statement Next or TakePending gave last begins (its first token).
    int64_t StartLine() const { return startLine_; }

    // From now on, outside quoted text and comments, :NAME stands for the value of the
    // variable NAME, put in as it is; :'NAME' for the value as a quoted literal, and
    // :"NAME" as a quoted name (quotes inside doubled). A name without a value, and "::"
    // (a PostgreSQL cast), stay as written.
    void SetVariables(Variables lookup) { variables_ = std::move(lookup); }

  private:
    enum class Mode { kCode, kSingleQuote, kDoubleQuote, kBlockComment, kDollarBody };

    // Scans from line[i] in code; gives where scanning goes on.
    size_t ScanCode(std::string_view line, size_t i);
    // Scans from line[i] inside quoted text or a comment; gives where scanning goes on.
    size_t ScanText(std::string_view line, size_t i);
    // Puts in the value of the variable named at line[i] (a ":"); gives where scanning goes
    // on, or npos when no variable with a value is named there.
    size_t Substitute(std::string_view line, size_t i);
    // Adds part to the unfinished statement; content: it belongs to the statement proper
    // (code or quoted text), not to a blank or a comment.
    void Append(std::string_view part, bool content);
    void EndWord();
    void EndStatement();

    struct Statement {
        std::string text;
        int64_t line;  // where its first token is
    };

    std::deque<Statement> done_;
    std::string text_;       // the unfinished statement
    int64_t line_ = 0;       // the number of the line being scanned
    int64_t beginLine_ = 0;  // where the unfinished statement's first token is
    int64_t startLine_ = 0;  // where the statement given last begins
    Variables variables_;
    // Where its first token begins and its last ends in text_; npos before the first.
    size_t begin_ = std::string::npos, end_ = std::string::npos;
    Mode mode_ = Mode::kCode;
    bool backslashes_ = false;  // the quoted text takes backslash escapes (E'...')
    std::string tag_;           // the delimiter of the dollar-quoted body, "$tag$"
    std::string word_;          // the word being read, in lower case
    int words_ = 0;             // words of the statement read so far
    bool create_ = false;       // the statement begins with CREATE
    int blocks_ = 0;            // BEGIN or CASE blocks open in a CREATE statement
};

// Every statement of a whole text, in order, as a script would send them.
std::vector<std::string> SplitStatements(const std::string& text);

}  // namespace kvlsession
