#include "Parameters.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace kvl {

namespace {

// C types of parameters the typed values need beyond text and bytes.
constexpr int16_t kBitData = -7;
constexpr int16_t kBigIntData = -25;  // signed 64-bit
constexpr int16_t kDoubleData = 8;

// Texts longer than this go as long data, which every driver takes at any length.
constexpr size_t kLongBeyond = 4000;

template <typename T>
std::string BytesOf(T v) {
    std::string b(sizeof v, '\0');
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

std::string DateText(const Date& d) {
    char b[16];
    std::snprintf(b, sizeof b, "%04d-%02u-%02u", d.year, unsigned{d.month}, unsigned{d.day});
    return b;
}

// hh:mm:ss, with the fraction's digits when it has one; digits gives how many.
std::string TimeText(const Time& t, int16_t& digits) {
    char b[32];
    std::snprintf(b, sizeof b, "%02u:%02u:%02u", unsigned{t.hour}, unsigned{t.minute},
                  unsigned{t.second});
    std::string text = b;
    digits = 0;
    if (t.fraction == 0) return text;
    std::snprintf(b, sizeof b, ".%09u", t.fraction);
    text += b;
    // Microseconds where they say all, as most servers keep no more.
    digits = t.fraction % 1000 == 0 ? 6 : 9;
    text.resize(8 + 1 + static_cast<size_t>(digits));
    return text;
}

// The scale of an exact number's digits: how many follow its point.
int16_t ScaleOf(const std::string& digits) {
    size_t point = digits.find('.');
    return point == std::string::npos ? 0 : static_cast<int16_t>(digits.size() - point - 1);
}

}  // namespace

void BoundParameters::Fill(Slot& s, const TypedValue& value) {
    std::visit(
        [&s](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                s.length = odbc::kNullData;
            } else if constexpr (std::is_same_v<T, bool>) {
                s.cType = kBitData;
                s.sqlType = odbc::kSqlBit;
                s.bytes = BytesOf<uint8_t>(v ? 1 : 0);
            } else if constexpr (std::is_same_v<T, int64_t>) {
                s.cType = kBigIntData;
                s.sqlType = odbc::kSqlBigInt;
                s.size = 19;
                s.bytes = BytesOf(v);
            } else if constexpr (std::is_same_v<T, double>) {
                s.cType = kDoubleData;
                s.sqlType = odbc::kSqlDouble;
                s.size = 15;
                s.bytes = BytesOf(v);
            } else if constexpr (std::is_same_v<T, Decimal>) {
                s.sqlType = odbc::kSqlNumeric;
                s.bytes = v.digits;
                s.decimals = ScaleOf(v.digits);
            } else if constexpr (std::is_same_v<T, std::string>) {
                s.sqlType = v.size() > kLongBeyond ? odbc::kSqlLongVarchar : odbc::kSqlVarchar;
                s.bytes = v;
            } else if constexpr (std::is_same_v<T, Bytes>) {
                s.cType = odbc::kBinaryData;
                s.sqlType = v.size() > kLongBeyond ? odbc::kSqlLongVarBinary : odbc::kSqlVarBinary;
                s.bytes.assign(v.begin(), v.end());
            } else if constexpr (std::is_same_v<T, Date>) {
                s.sqlType = odbc::kSqlTypeDate;
                s.bytes = DateText(v);
            } else if constexpr (std::is_same_v<T, Time>) {
                s.sqlType = odbc::kSqlTypeTime;
                s.bytes = TimeText(v, s.decimals);
            } else {
                static_assert(std::is_same_v<T, Timestamp>);
                s.sqlType = odbc::kSqlTypeTimestamp;
                s.bytes = DateText(v.date) + ' ' + TimeText(v.time, s.decimals);
            }
        },
        value);
    if (s.length == odbc::kNullData) return;
    s.length = static_cast<int64_t>(s.bytes.size());
    // Text and bytes give their length as the column size; the other types set their own.
    if (s.size <= 1) s.size = std::max<uint64_t>(s.bytes.size(), 1);
}

odbc::Return BoundParameters::Bind(odbc::Api& api, Handle stmt,
                                   const std::vector<TypedValue>& values) {
    slots_.assign(values.size(), Slot{});
    for (size_t i = 0; i < values.size(); ++i) {
        Slot& s = slots_[i];
        Fill(s, values[i]);
        odbc::Return rc = api.BindParameter(
            stmt, static_cast<uint16_t>(i + 1), s.cType, s.sqlType, s.size, s.decimals,
            s.length == odbc::kNullData ? nullptr : s.bytes.data(), &s.length);
        if (!odbc::Succeeded(rc)) return rc;
    }
    return odbc::kSuccess;
}

}  // namespace kvl
