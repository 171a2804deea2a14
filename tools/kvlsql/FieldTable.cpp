#include "FieldTable.h"

#include <string>
#include <utility>

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

// The server type each code stands for.
constexpr std::pair<int16_t, const char*> kTypeNames[] = {
    {kvl::kTipoChar, "char"},
    {kvl::kTipoVarchar, "varchar"},
    {kvl::kTipoBinary, "binary"},
    {kvl::kTipoVarbinary, "varbinary"},
    {kvl::kTipoTinyInt, "tinyint"},
    {kvl::kTipoSmallInt, "smallint"},
    {kvl::kTipoInt, "int"},
    {kvl::kTipoFloat, "float"},
    {kvl::kTipoNumeric, "numeric"},
    {kvl::kTipoMoney, "money"},
    {kvl::kTipoDatetime, "datetime"},
    {kvl::kTipoBit, "bit"},
    {kvl::kTipoText, "text"},
    {kvl::kTipoSmallMoney, "smallmoney"},
    {kvl::kTipoSmallDatetime, "smalldatetime"},
    {kvl::kTipoReal, "real"},
    {kvl::kTipoDecimal, "decimal"},
    {kvl::kTipoTimestamp, "timestamp"},
};

const char* TypeName(int16_t code) {
    for (const auto& [known, name] : kTypeNames)
        if (known == code) return name;
    return "";
}

}  // namespace

Table FieldTable(const kvl::Variant& properties) {
    const kvl::VariantArray& p = properties.array();
    Table t;
    t.columns = {{"field"},        {"type", true},     {"type name"}, {"size", true},
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
