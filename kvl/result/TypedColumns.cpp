#include "TypedColumns.h"

#include <charconv>
#include <cstring>
#include <optional>

#include "kvl/Text.h"

namespace kvl {

namespace {

using namespace odbc;

Kind KindOfSqlType(int16_t sqlType) {
    switch (sqlType) {
        case kSqlTinyInt:
        case kSqlSmallInt:
        case kSqlInteger:
        case kSqlBigInt:
            return Kind::kInteger;
        case kSqlReal:
        case kSqlFloat:
        case kSqlDouble:
            return Kind::kReal;
        case kSqlDecimal:
        case kSqlNumeric:
            return Kind::kDecimal;
        case kSqlBit:
            return Kind::kBool;
        case kSqlBinary:
        case kSqlVarBinary:
        case kSqlLongVarBinary:
            return Kind::kBytes;
        case kSqlDate:
        case kSqlTypeDate:
            return Kind::kDate;
        case kSqlTime:
        case kSqlTypeTime:
            return Kind::kTime;
        case kSqlTimestamp:
        case kSqlTypeTimestamp:
            return Kind::kTimestamp;
        default:
            return Kind::kText;
    }
}

// Declared types that some driver reports as a type that says less: the SQLite driver's
// DECIMAL and BINARY(n) as VARCHAR and NUMERIC as DOUBLE, psqlODBC's boolean as VARCHAR
// (BoolsAsChar) and money, written with its currency sign, as FLOAT.
struct NamedType {
    std::string_view name;
    Kind kind;
    int16_t sqlType;
};
constexpr NamedType kNamedTypes[] = {
    {"decimal", Kind::kDecimal, kSqlDecimal},   {"dec", Kind::kDecimal, kSqlDecimal},
    {"numeric", Kind::kDecimal, kSqlNumeric},   {"bool", Kind::kBool, kSqlBit},
    {"boolean", Kind::kBool, kSqlBit},          {"binary", Kind::kBytes, kSqlBinary},
    {"varbinary", Kind::kBytes, kSqlVarBinary}, {"money", Kind::kText, kSqlVarchar},
};

// Room for a value of size characters, or 0 (read whole) when unknown or beyond binding.
int64_t Room(uint64_t size, int64_t bytesPerCharacter, int64_t extra) {
    if (size == 0 || size > static_cast<uint64_t>(BlockCursor::kWidestBound)) return 0;
    return static_cast<int64_t>(size) * bytesPerCharacter + extra;
}

std::optional<int64_t> IntegerOf(std::string_view t) {
    int64_t value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

// A number's text, also one beyond a double's range (exact decimals may be).
bool IsNumber(std::string_view t) {
    double value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return !t.empty() && end == t.data() + t.size() &&
           (ec == std::errc() || ec == std::errc::result_out_of_range);
}

std::optional<double> RealOf(std::string_view t) {
    double value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

// n digits of t from at.
bool Digits(std::string_view t, size_t at, size_t n, unsigned& out) {
    if (at + n > t.size()) return false;
    auto [end, ec] = std::from_chars(t.data() + at, t.data() + at + n, out);
    return ec == std::errc() && end == t.data() + at + n;
}

// YYYY-MM-DD
std::optional<Date> DateOf(std::string_view t) {
    unsigned y = 0, m = 0, d = 0;
    if (t.size() != 10 || t[4] != '-' || t[7] != '-' || !Digits(t, 0, 4, y) ||
        !Digits(t, 5, 2, m) || !Digits(t, 8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    return Date{static_cast<int16_t>(y), static_cast<uint8_t>(m), static_cast<uint8_t>(d)};
}

// HH:MM:SS, then a fraction of up to nine digits.
std::optional<Time> TimeOf(std::string_view t) {
    unsigned h = 0, m = 0, s = 0, fraction = 0;
    if (t.size() < 8 || t[2] != ':' || t[5] != ':' || !Digits(t, 0, 2, h) || !Digits(t, 3, 2, m) ||
        !Digits(t, 6, 2, s) || h > 24 || m > 59 || s > 60)
        return std::nullopt;
    if (t.size() > 8) {
        size_t n = t.size() - 9;
        if (t[8] != '.' || n < 1 || n > 9 || !Digits(t, 9, n, fraction)) return std::nullopt;
        for (; n < 9; ++n) fraction *= 10;
    }
    return Time{static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
                fraction};
}

std::optional<Timestamp> TimestampOf(std::string_view t) {
    if (t.size() < 19 || (t[10] != ' ' && t[10] != 'T')) return std::nullopt;
    auto date = DateOf(t.substr(0, 10));
    auto time = TimeOf(t.substr(11));
    if (!date || !time) return std::nullopt;
    return Timestamp{*date, *time};
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

Date DateOf(const DateData& d) {
    return {d.year, static_cast<uint8_t>(d.month), static_cast<uint8_t>(d.day)};
}

}  // namespace

TypedColumn Classify(ColumnDescription description, std::string_view typeName) {
    const Kind reported = KindOfSqlType(description.sqlType);
    TypedColumn c{std::move(description), reported};
    const std::string name = Minusculas(Apara(typeName.substr(0, typeName.find('('))));
    for (const NamedType& t : kNamedTypes) {
        if (t.name == name && t.kind != c.kind) {
            c.kind = t.kind;
            c.description.sqlType = t.sqlType;
        }
    }
    return c;
}

ColumnPlan PlanOf(const TypedColumn& column) {
    const uint64_t size = column.description.size;
    switch (column.kind) {
        case Kind::kInteger:
        case Kind::kBool:
            return {kCharData, 24};  // a 64-bit integer's 20 characters and the NUL
        case Kind::kReal:
        case Kind::kTime:
            return {kCharData, 40};  // longer is rare, and read whole
        case Kind::kDecimal:
            return {kCharData, Room(size, 1, 3)};  // digits, sign, point and the NUL
        case Kind::kDate:
            return {kDateData, sizeof(DateData)};
        case Kind::kTimestamp:
            return {kTimestampData, sizeof(TimestampData)};
        case Kind::kBytes:
            return {kBinaryData, Room(size, 1, 0)};
        case Kind::kText:
            break;
    }
    // Drivers count characters, which take up to four bytes in UTF-8.
    return {kCharData, Room(size, 4, 1)};
}

void FromBlock(Kind kind, const BlockValue& value, TypedValue& out) {
    if (value.isNull) {
        out.emplace<std::monostate>();
    } else if (value.cType == kDateData) {
        DateData d;
        std::memcpy(&d, value.data, sizeof d);
        out = DateOf(d);
    } else if (value.cType == kTimestampData) {
        TimestampData t;
        std::memcpy(&t, value.data, sizeof t);
        out = Timestamp{DateOf({t.year, t.month, t.day}),
                        {static_cast<uint8_t>(t.hour), static_cast<uint8_t>(t.minute),
                         static_cast<uint8_t>(t.second), t.fraction}};
    } else {
        FromText(kind, {value.data, value.size}, out);
    }
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
