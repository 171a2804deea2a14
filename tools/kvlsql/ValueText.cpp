#include "ValueText.h"

#include <array>
#include <charconv>

#include "kvl/odbc/Api.h"

namespace kvlsql {

namespace {

std::string Digits(int value, int width) {
    std::string text = std::to_string(value);
    return text.size() < static_cast<size_t>(width) ? std::string(width - text.size(), '0') + text
                                                    : text;
}

std::string Text(const kvl::Date& d) {
    return Digits(d.year, 4) + "-" + Digits(d.month, 2) + "-" + Digits(d.day, 2);
}

std::string Text(const kvl::Time& t) {
    std::string text = Digits(t.hour, 2) + ":" + Digits(t.minute, 2) + ":" + Digits(t.second, 2);
    if (t.fraction == 0) return text;
    std::string fraction = Digits(static_cast<int>(t.fraction), 9);
    return text + "." + fraction.substr(0, fraction.find_last_not_of('0') + 1);
}

std::string Text(double d) {
    std::array<char, 32> text;
    auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), d);
    return std::string(text.data(), end);
}

std::string Text(const kvl::Bytes& bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text = "\\x";
    for (uint8_t b : bytes) text += {kHex[b >> 4], kHex[b & 0xF]};
    return text;
}

struct Shown {
    std::optional<std::string> operator()(std::monostate) const { return std::nullopt; }
    std::optional<std::string> operator()(bool b) const { return b ? "true" : "false"; }
    std::optional<std::string> operator()(int64_t n) const { return std::to_string(n); }
    std::optional<std::string> operator()(double d) const { return Text(d); }
    std::optional<std::string> operator()(const kvl::Decimal& d) const { return d.digits; }
    std::optional<std::string> operator()(const std::string& s) const { return s; }
    std::optional<std::string> operator()(const kvl::Bytes& b) const { return Text(b); }
    std::optional<std::string> operator()(const kvl::Date& d) const { return Text(d); }
    std::optional<std::string> operator()(const kvl::Time& t) const { return Text(t); }
    std::optional<std::string> operator()(const kvl::Timestamp& t) const {
        return Text(t.date) + " " + Text(t.time);
    }
};

}  // namespace

std::optional<std::string> ValueText(const kvl::TypedValue& value) {
    return std::visit(Shown{}, value);
}

bool IsNumberType(int16_t sqlType) {
    using namespace kvl::odbc;
    switch (sqlType) {
        case kSqlNumeric:
        case kSqlDecimal:
        case kSqlInteger:
        case kSqlSmallInt:
        case kSqlFloat:
        case kSqlReal:
        case kSqlDouble:
        case kSqlBigInt:
        case kSqlTinyInt:
            return true;
        default:
            return false;
    }
}

}  // namespace kvlsql
