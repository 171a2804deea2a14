#include "Parameters.h"

#include <algorithm>
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

// Statement attributes of arrays of parameter sets.
constexpr int32_t kAttrParamBindType = 18;  // a record's size: row-wise binding; 0 column-wise
constexpr int32_t kAttrParamStatusPtr = 20;
constexpr int32_t kAttrParamsProcessedPtr = 21;
constexpr int32_t kAttrParamsetSize = 22;

size_t Words(size_t bytes) {
    return (bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t);
}

template <typename T>
std::string BytesOf(T v) {
    std::string b(sizeof v, '\0');
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

// hh:mm:ss, with the fraction's digits when it has one; digits gives how many.
std::string TimeText(const Time& t, int16_t& digits) {
    std::string text = IsoText(t);
    // Microseconds where they say all, as most servers keep no more.
    digits = t.fraction == 0 ? 0 : t.fraction % 1000 == 0 ? 6 : 9;
    if (digits != 0) text.resize(8 + 1 + static_cast<size_t>(digits), '0');
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
                s.bytes = IsoText(v);
            } else if constexpr (std::is_same_v<T, Time>) {
                s.sqlType = odbc::kSqlTypeTime;
                s.bytes = TimeText(v, s.decimals);
            } else {
                static_assert(std::is_same_v<T, Timestamp>);
                s.sqlType = odbc::kSqlTypeTimestamp;
                s.bytes = IsoText(v.date) + ' ' + TimeText(v.time, s.decimals);
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

bool BoundRows::Fill(const std::vector<std::vector<TypedValue>>& rows) {
    const size_t count = rows.empty() ? 0 : rows.front().size();
    std::vector<std::vector<BoundParameters::Slot>> slots(rows.size());
    std::vector<Marker> markers(count);
    std::vector<bool> typed(count, false);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].size() != count) return false;
        slots[r].resize(count);
        for (size_t m = 0; m < count; ++m) {
            BoundParameters::Slot& v = slots[r][m];
            BoundParameters::Fill(v, rows[r][m]);
            if (v.length == odbc::kNullData) continue;
            BoundParameters::Slot& t = markers[m].type;
            if (typed[m] && (t.cType != v.cType || t.sqlType != v.sqlType)) return false;
            if (!typed[m]) t = {v.cType, v.sqlType, v.size, v.decimals, {}, 0};
            typed[m] = true;
            t.size = std::max(t.size, v.size);
            t.decimals = std::max(t.decimals, v.decimals);
            t.length = std::max<int64_t>(t.length, v.length);  // the widest value
        }
    }
    // A record: for each marker its length, then room for its widest value.
    recordWords_ = 0;
    for (Marker& m : markers) {
        m.offset = recordWords_;
        recordWords_ += 1 + Words(static_cast<size_t>(std::max<int64_t>(m.type.length, 1)));
    }
    records_.assign(rows.size() * recordWords_, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        uint64_t* record = records_.data() + r * recordWords_;
        for (size_t m = 0; m < count; ++m) {
            const BoundParameters::Slot& v = slots[r][m];
            std::memcpy(record + markers[m].offset, &v.length, sizeof v.length);
            std::memcpy(record + markers[m].offset + 1, v.bytes.data(), v.bytes.size());
        }
    }
    markers_ = std::move(markers);
    status_.assign(rows.size(), 0);
    return true;
}

odbc::Return BoundRows::Bind(odbc::Api& api, Handle stmt) {
    const size_t sets = recordWords_ == 0 ? 0 : records_.size() / recordWords_;
    odbc::Return rc = api.SetStmtInteger(stmt, kAttrParamBindType, recordWords_ * sizeof(uint64_t));
    if (odbc::Succeeded(rc)) rc = api.SetStmtInteger(stmt, kAttrParamsetSize, sets);
    if (odbc::Succeeded(rc)) rc = api.SetStmtPointer(stmt, kAttrParamStatusPtr, status_.data());
    if (odbc::Succeeded(rc)) rc = api.SetStmtPointer(stmt, kAttrParamsProcessedPtr, &processed_);
    for (size_t m = 0; m < markers_.size() && odbc::Succeeded(rc); ++m) {
        const BoundParameters::Slot& t = markers_[m].type;
        uint64_t* first = records_.data() + markers_[m].offset;
        rc = api.BindParameter(stmt, static_cast<uint16_t>(m + 1), t.cType, t.sqlType, t.size,
                               t.decimals, first + 1, reinterpret_cast<int64_t*>(first));
    }
    return rc;
}

void BoundRows::Unbind(odbc::Api& api, Handle stmt) {
    api.SetStmtInteger(stmt, kAttrParamsetSize, 1);
    api.SetStmtInteger(stmt, kAttrParamBindType, 0);
    api.SetStmtPointer(stmt, kAttrParamStatusPtr, nullptr);
    api.SetStmtPointer(stmt, kAttrParamsProcessedPtr, nullptr);
    api.ResetParameters(stmt);
}

}  // namespace kvl
