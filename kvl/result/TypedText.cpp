#include "TypedText.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace kvl {

namespace {

std::optional<int64_t> IntegerOf(std::string_view t) {
    int64_t value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

// The double of a decimal text. Up to 15 digits without an exponent, the digits read as an
// integer and a power of ten up to 10^15 are both exact, so the one rounding of their
// division is the correct one, and far cheaper than the general conversion the rest takes.
std::optional<double> RealOf(std::string_view t) {
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; p != end; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++count <= 15) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
            if (decimals >= 0) ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (p == end && count > 0 && count <= 15) {
        double value = static_cast<double>(digits);
        if (decimals > 0) value /= kTens[decimals];
        return negative ? -value : value;
    }
    double value = 0;
    auto [stop, ec] = std::from_chars(t.data(), end, value);
    if (ec != std::errc() || stop != end) return std::nullopt;
    return value;
}

// A number's text, also one beyond a double's range (exact decimals may be).
bool IsNumber(std::string_view t) {
    double value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return !t.empty() && end == t.data() + t.size() &&
           (ec == std::errc() || ec == std::errc::result_out_of_range);
}

// n digits of t from at.
bool Digits(std::string_view t, size_t at, size_t n, unsigned& out) {
    if (at + n > t.size()) return false;
    out = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        out = out * 10 + static_cast<unsigned>(t[i] - '0');
    }
    return true;
}

// YYYY-MM-DD
std::optional<Date> DateOf(std::string_view t) {
    unsigned y = 0, m = 0, d = 0;
    if (t.size() != 10 || t[4] != '-' || t[7] != '-' || !Digits(t, 0, 4, y) ||
        !Digits(t, 5, 2, m) || !Digits(t, 8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    return Date{static_cast<int16_t>(y), static_cast<uint8_t>(m), static_cast<uint8_t>(d)};
}

// HH:MM, then :SS, then a fraction of up to nine digits.
std::optional<Time> TimeOf(std::string_view t) {
    unsigned h = 0, m = 0, s = 0, fraction = 0;
    if (t.size() < 5 || t[2] != ':' || !Digits(t, 0, 2, h) || !Digits(t, 3, 2, m))
        return std::nullopt;
    if (t.size() > 5 && (t[5] != ':' || !Digits(t, 6, 2, s))) return std::nullopt;
    if (t.size() > 8) {
        size_t n = t.size() - 9;
        if (t[8] != '.' || n < 1 || n > 9 || !Digits(t, 9, n, fraction)) return std::nullopt;
        for (; n < 9; ++n) fraction *= 10;
    }
    if (h > 24 || m > 59 || s > 60) return std::nullopt;
    return Time{static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
                fraction};
}

// A date, a blank or a T, and a time; a zone after it (+01, -03:30) is left out, as the
// drivers' own conversions do. A date alone is its midnight.
std::optional<Timestamp> TimestampOf(std::string_view t) {
    if (t.size() == 10) {
        if (auto d = DateOf(t)) return Timestamp{*d, {}};
    }
    if (t.size() < 16 || (t[10] != ' ' && t[10] != 'T')) return std::nullopt;
    std::string_view time = t.substr(11);
    if (size_t zone = time.find_first_of("+-"); zone != std::string_view::npos) {
        if (time.find_first_not_of("0123456789:", zone + 1) != std::string_view::npos)
            return std::nullopt;
        time = time.substr(0, zone);
    }
    auto d = DateOf(t.substr(0, 10));
    auto h = TimeOf(time);
    if (!d || !h) return std::nullopt;
    return Timestamp{*d, *h};
}

// Assignments that keep the storage of the value the row before left in place.
void SetText(TypedValue& v, std::string_view text) {
    if (auto* s = std::get_if<std::string>(&v)) {
        s->assign(text);
    } else {
        v.emplace<std::string>(text);
    }
}
void SetDecimal(TypedValue& v, std::string_view text) {
    if (auto* d = std::get_if<Decimal>(&v)) {
        d->digits.assign(text);
    } else {
        v.emplace<Decimal>().digits.assign(text);
    }
}
void SetBytes(TypedValue& v, std::string_view bytes) {
    auto* first = reinterpret_cast<const uint8_t*>(bytes.data());
    if (auto* b = std::get_if<Bytes>(&v)) {
        b->assign(first, first + bytes.size());
    } else {
        v.emplace<Bytes>(first, first + bytes.size());
    }
}

}  // namespace

std::string IsoText(const Date& d) {
    char b[16];
    std::snprintf(b, sizeof b, "%04d-%02u-%02u", d.year, unsigned{d.month}, unsigned{d.day});
    return b;
}

std::string IsoText(const Time& t) {
    char b[32];
    int n = std::snprintf(b, sizeof b, "%02u:%02u:%02u", unsigned{t.hour}, unsigned{t.minute},
                          unsigned{t.second});
    if (t.fraction != 0) {
        n += std::snprintf(b + n, sizeof b - n, ".%09u", t.fraction);
        while (b[n - 1] == '0') --n;
    }
    return std::string(b, n);
}

void FromText(Kind kind, std::string_view text, TypedValue& out) {
    switch (kind) {
        case Kind::kInteger:
            if (auto i = IntegerOf(text)) return void(out = *i);
            break;
        case Kind::kReal:
            if (auto d = RealOf(text)) return void(out = *d);
            break;
        case Kind::kDecimal:
            if (IsNumber(text)) return SetDecimal(out, text);
            break;
        case Kind::kBool:
            if (auto d = RealOf(text)) return void(out = *d != 0);
            break;
        case Kind::kDate:
            if (auto d = DateOf(text)) return void(out = *d);
            break;
        case Kind::kTime:
            if (auto t = TimeOf(text)) return void(out = *t);
            break;
        case Kind::kTimestamp:
            if (auto t = TimestampOf(text)) return void(out = *t);
            break;
        case Kind::kBytes:
            return SetBytes(out, text);
        case Kind::kText:
            break;
    }
    SetText(out, text);
}

}  // namespace kvl
