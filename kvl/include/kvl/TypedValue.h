#pragma once
// A value as the typed reading gives it (kvlRES::TemLinhasTipadas, ColTipada): typed by its
// column's SQL type, NULL apart from every value, and whole.
//
// By column type:
//   tinyint, smallint, integer, bigint        int64_t
//   real, float, double                        double
//   decimal, numeric                           Decimal: the server's digits, never a double
//   char, varchar, longvarchar (and wide)      std::string, UTF-8
//   binary, varbinary, longvarbinary           Bytes
//   date, time, timestamp                      Date, Time, Timestamp
//   bit, boolean                               bool
//   NULL                                       std::monostate, distinct from an empty text
//   anything else                              std::string, the driver's text of it
//
// What a driver reports is corrected by the column's declared type name where it says less
// than the type: the SQLite driver reports DECIMAL and BINARY(n) columns as VARCHAR, which
// arrive as Decimal and Bytes; psqlODBC reports boolean as VARCHAR unless BoolsAsChar=0 is
// in the connection text, and it arrives as bool either way; numeric without a precision is
// Decimal on both. PostgreSQL's money (text with its currency sign) and bit strings arrive
// as text. A timestamp with a time zone arrives in the session's zone, the zone left out.
// A value that a driver gives for a numeric, boolean, decimal or time column but that is
// not one (SQLite keeps any value in any column) arrives as its text rather than failing.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "kvl/Export.h"

namespace kvl {

// The public headers compile as C++17 too, where comparisons cannot be defaulted.
#if __cplusplus >= 202002L
#define KVL_EQUALITY(Type, ...) bool operator==(const Type&) const = default;
#else
#define KVL_EQUALITY(Type, ...)            \
    bool operator==(const Type& o) const { \
        return __VA_ARGS__;                \
    }                                      \
    bool operator!=(const Type& o) const { \
        return !(*this == o);              \
    }
#endif

struct Date {
    int16_t year = 0;
    uint8_t month = 0, day = 0;
    KVL_EQUALITY(Date, year == o.year && month == o.month && day == o.day)
};

struct Time {
    uint8_t hour = 0, minute = 0, second = 0;
    uint32_t fraction = 0;  // nanoseconds
    KVL_EQUALITY(Time, hour == o.hour && minute == o.minute && second == o.second &&
                           fraction == o.fraction)
};

struct Timestamp {
    Date date;
    Time time;
    KVL_EQUALITY(Timestamp, date == o.date && time == o.time)
};

// An exact number as the server writes it, e.g. "-1234.50".
struct Decimal {
    std::string digits;
    KVL_EQUALITY(Decimal, digits == o.digits)
};

#undef KVL_EQUALITY

using Bytes = std::vector<uint8_t>;

using TypedValue = std::variant<std::monostate, bool, int64_t, double, Decimal, std::string, Bytes,
                                Date, Time, Timestamp>;

// ISO text: YYYY-MM-DD, and HH:MM:SS followed by the fraction's digits when it has one,
// without trailing zeros.
KVL_API std::string IsoText(const Date& d);
KVL_API std::string IsoText(const Time& t);

}  // namespace kvl
