#include "ValueText.h"

#include <array>
#include <charconv>

#include "kvl/odbc/Api.h"

namespace kvlsql {

namespace {

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
    std::optional<std::string> operator()(const kvl::Date& d) const { return kvl::IsoText(d); }
    std::optional<std::string> operator()(const kvl::Time& t) const { return kvl::IsoText(t); }
    std::optional<std::string> operator()(const kvl::Timestamp& t) const {
        return kvl::IsoText(t.date) + " " + kvl::IsoText(t.time);
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
