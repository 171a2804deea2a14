#include "winhost/Wire.h"

#include <charconv>

#include "winhost/Errors.h"

namespace winhost::wire {

namespace {

constexpr std::string_view kOk = "ok";
constexpr std::string_view kError = "error";

void AppendEscaped(std::string& out, std::string_view field) {
    for (char c : field) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '\t':
                out += "%09";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            default:
                out += c;
        }
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Unescaped(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            const int high = HexValue(field[i + 1]);
            const int low = HexValue(field[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::optional<int32_t> Number(const std::string& text) {
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        AppendEscaped(line, fields[i]);
    }
    return line;
}

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(Unescaped(line.substr(start, tab - start)));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::string Request(std::string_view verb, std::string_view member,
                    const std::optional<std::string>& argument) {
    std::vector<std::string> fields{std::string(verb), std::string(member)};
    if (argument) fields.push_back(*argument);
    return JoinFields(fields);
}

std::string Answer(const std::string& value) {
    if (value.empty()) return std::string(kOk);
    return JoinFields({std::string(kOk), value});
}

std::string Answer(const kvl::Error& failure) {
    return JoinFields(
        {std::string(kError), std::to_string(failure.number()), failure.description()});
}

std::string ValueOf(std::string_view answer) {
    const std::vector<std::string> fields = SplitFields(answer);
    if (fields[0] == kOk && fields.size() <= 2)
        return fields.size() > 1 ? fields[1] : std::string();
    if (fields[0] == kError && fields.size() == 3) {
        if (const auto number = Number(fields[1])) throw kvl::Error(*number, fields[2]);
    }
    throw kvl::Error(kAutomationError, std::string(PortugueseDescription(kAutomationError)));
}

}  // namespace winhost::wire
