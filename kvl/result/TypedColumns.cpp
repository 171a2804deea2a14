#include "TypedColumns.h"

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
        case Kind::kDate:
        case Kind::kTime:
        case Kind::kTimestamp:
            return {kCharData, 40};  // longer is rare, and read whole
        case Kind::kDecimal:
            return {kCharData, Room(size, 1, 3)};  // digits, sign, point and the NUL
        case Kind::kBytes:
            return {kBinaryData, Room(size, 1, 0)};
        case Kind::kText:
            break;
    }
    // Drivers count characters, which take up to four bytes in UTF-8.
    return {kCharData, Room(size, 4, 1)};
}

}  // namespace kvl
