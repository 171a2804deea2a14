#include "FieldTable.h"

#include <string>

#include "kvl/TypeCodes.h"

namespace kvlsql {

namespace {

// The rows of a properties array.
enum Property {
    kField = 3,
    kType = 4,
    kSize = 5,
    kNumeric = 6,
    kIntDigits = 7,
    kDecDigits = 8,
    kMax = 9,
    kMin = 10,
    kWidth = 11,
    kFormat = 12,
};

// The server type a code stands for.
const char* TypeName(int16_t code) {
    switch (code) {
        case kvl::kTipoChar: return "char";
        case kvl::kTipoVarchar: return "varchar";
        case kvl::kTipoBinary: return "binary";
        case kvl::kTipoVarbinary: return "varbinary";
        case kvl::kTipoTinyInt: return "tinyint";
        case kvl::kTipoSmallInt: return "smallint";
        case kvl::kTipoInt: return "int";
        case kvl::kTipoFloat: return "float";
        case kvl::kTipoNumeric: return "numeric";
        case kvl::kTipoMoney: return "money";
        case kvl::kTipoDatetime: return "datetime";
        case kvl::kTipoBit: return "bit";
        case kvl::kTipoText: return "text";
        case kvl::kTipoSmallMoney: return "smallmoney";
        case kvl::kTipoSmallDatetime: return "smalldatetime";
        case kvl::kTipoReal: return "real";
        case kvl::kTipoDecimal: return "decimal";
        case kvl::kTipoTimestamp: return "timestamp";
        default: return "";
    }
}

}  // namespace

Table FieldTable(const kvl::Variant& properties) {
    const kvl::VariantArray& p = properties.array();
    Table t;
    t.columns = {{"field"},        {"type", true},  {"type name"}, {"size", true},
                 {"digits", true}, {"decimals", true}, {"min", true}, {"max", true},
                 {"width", true},  {"format"}};
    for (int32_t n = 1; n <= p.UBound(2); ++n) {
        auto at = [&](Property property) -> const kvl::Variant& { return p.At({property, n}); };
        bool numeric = at(kNumeric).ToBool();
        // Bounds mean something for numbers only; elsewhere they are left blank.
        auto bound = [&](Property property) { return numeric ? at(property).ToString() : ""; };
        t.rows.push_back({at(kField).ToString(), at(kType).ToString(),
                          TypeName(at(kType).ToInt16()), at(kSize).ToString(),
                          at(kIntDigits).ToString(), at(kDecDigits).ToString(), bound(kMin),
                          bound(kMax), at(kWidth).ToString(), at(kFormat).ToString()});
    }
    return t;
}

}  // namespace kvlsql
