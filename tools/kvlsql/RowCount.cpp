#include "RowCount.h"

#include <cctype>

#include "StatementSplitter.h"

namespace kvlsql {

namespace {

bool BeginsWithSelect(const std::string& statement) {
    if (statement.size() < 6) return false;
    std::string word = statement.substr(0, 6);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word == "select" &&
           (statement.size() == 6 || !std::isalnum(static_cast<unsigned char>(statement[6])));
}

}  // namespace

std::optional<std::string> CountStatement(const std::string& sql) {
    std::vector<std::string> statements = kvlsession::SplitStatements(sql);
    if (statements.size() != 1 || !BeginsWithSelect(statements[0])) return std::nullopt;
    // Line breaks around it, so a comment on its last line ends before the parenthesis.
    return "SELECT count(*) FROM (\n" + statements[0] + "\n) AS kvlsql_count";
}

}  // namespace kvlsql
