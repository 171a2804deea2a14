#include "Messages.h"

#include <array>
#include <vector>

namespace kvlsql {

namespace {

constexpr std::string_view kBlanks = " \t\r\n;";
constexpr std::array<std::string_view, 5> kSeverities = {
    "NOTICE: ", "WARNING: ", "INFO: ", "DEBUG: ", "LOG: "};

std::string_view Trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool StartsWithSeverity(std::string_view text) {
    for (std::string_view s : kSeverities)
        if (text.starts_with(s)) return true;
    return false;
}

// psqlODBC gives every notice of a command in one message, "NOTICE: a;NOTICE: b": each
// begins with its severity after a ";".
std::vector<std::string_view> EachNotice(std::string_view message) {
    std::vector<std::string_view> notices;
    size_t start = 0;
    for (size_t semicolon = message.find(';'); semicolon != std::string_view::npos;
         semicolon = message.find(';', semicolon + 1)) {
        if (!StartsWithSeverity(message.substr(semicolon + 1))) continue;
        notices.push_back(message.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    notices.push_back(message.substr(start));
    return notices;
}

}  // namespace

std::string DriverMessage(std::string_view text) {
    text = Trimmed(text);
    while (text.starts_with('[') && text.find(']') != std::string_view::npos)
        text = Trimmed(text.substr(text.find(']') + 1));
    if (text.starts_with("ERROR: ")) text = Trimmed(text.substr(7));
    constexpr std::string_view kExecuting = "Error while executing the query";
    if (text.ends_with(kExecuting)) text = Trimmed(text.substr(0, text.size() - kExecuting.size()));
    return std::string(text);
}

std::string Messages::Prefix() const {
    return where_.source + ":" + std::to_string(where_.line) + ": ";
}

void Messages::DriverError(std::string_view state, std::string_view message) {
    err_ << Prefix() << "ERROR " << (state.empty() ? "(no SQLSTATE)" : state) << ": "
         << DriverMessage(message) << '\n';
}

void Messages::Error(std::string_view message) {
    err_ << Prefix() << "ERROR: " << message << '\n';
}

void Messages::Notices(std::string_view state, std::string_view message) {
    std::string text = DriverMessage(message);
    for (std::string_view notice : EachNotice(text)) {
        notice = Trimmed(notice);
        if (notice.empty()) continue;
        // A driver that names no severity: SQLSTATE class 01 is a warning.
        std::string_view severity = StartsWithSeverity(notice) ? ""
                                    : state.starts_with("01")  ? "WARNING: "
                                                               : "NOTICE: ";
        err_ << Prefix() << severity << notice << '\n';
    }
}

}  // namespace kvlsql
