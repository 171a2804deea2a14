#include "StreetStore.h"

#include "kvl/Error.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace moradas {

namespace {

// Codes from the codes array are numbers the database gave; a code that is not a plain
// number cannot come from there and selects nothing.
std::string NumberOrNull(const std::string& code) {
    const bool digits = !code.empty() && code.find_first_not_of("0123456789") == std::string::npos;
    return digits ? code : "NULL";
}

// A number as SQL takes it: an optional minus, digits, and an optional point with digits.
bool PlainNumber(const std::string& text) {
    size_t i = text.starts_with('-') ? 1 : 0;
    const size_t point = text.find('.');
    auto digits = [&](size_t from, size_t to) {
        return to > from && text.find_first_not_of("0123456789", from) >= to;
    };
    if (point == std::string::npos) return digits(i, text.size());
    return digits(i, point) && digits(point + 1, text.size());
}

}  // namespace

kvl::Variant StreetStore::FillMunicipalities(const kvl::Variant& list) {
    return session_->ListaEnche(list, "SELECT id, nome FROM concelhos ORDER BY nome");
}

kvl::Variant StreetStore::FillParishes(const kvl::Variant& list, const std::string& municipality) {
    return session_->ListaEnche(list, "SELECT id, nome FROM freguesias WHERE concelho = " +
                                          NumberOrNull(municipality) + " ORDER BY nome");
}

kvl::Variant StreetStore::FillStreetTypes(const kvl::Variant& list) {
    return session_->ListaEnche(list, "SELECT codigo, descricao FROM tipos_via ORDER BY descricao");
}

std::vector<std::string> StreetStore::LineHeadings() {
    return {"Tipo", "Nome", "Freguesia", "Comprimento", "Código postal"};
}

std::vector<StreetLine> StreetStore::Streets(const std::string& municipality) {
    std::vector<StreetLine> lines;
    auto r = session_->Exec(
        "SELECT r.id, t.descricao, r.nome, f.nome, r.comprimento, r.codigo_postal FROM ruas r "
        "JOIN tipos_via t ON t.codigo = r.tipo JOIN freguesias f ON f.id = r.freguesia "
        "WHERE f.concelho = " +
        NumberOrNull(municipality) + " ORDER BY r.nome");
    if (!r) return lines;
    const size_t shown = LineHeadings().size();
    while (r->TemLinhas()) {
        StreetLine& line = lines.emplace_back();
        line.id = r->Col(1).ToString();
        for (size_t c = 0; c < shown; ++c)
            line.columns.push_back(r->Col(static_cast<int16_t>(c + 2)).ToString());
    }
    return lines;
}

std::optional<Street> StreetStore::Read(const std::string& id) {
    auto r = session_->Exec(std::string("SELECT * FROM ") + kStreetTable + " WHERE " + kStreetKey +
                            " = " + NumberOrNull(id));
    if (!r || !r->TemLinhas()) return std::nullopt;
    Street street;
    street.id = id;
    for (int16_t c = 1; c <= r->Cols; ++c) {
        const std::string name = r->ColNome(c).ToString();
        if (name != kStreetKey) street.fields[name] = r->Col(c).ToString();
    }
    return street;
}

std::string StreetStore::SqlValue(const std::string& field, const std::string& text) {
    // The field properties are cached per table: loading them here lets CamposQuerPlicas
    // answer for this table's fields.
    session_->CamposPropsInfo(kStreetTable, std::nullopt, kvl::Variant(field));
    if (session_->CamposQuerPlicas(field)) return "'" + kvl::Literal(text) + "'";
    if (text.empty()) return "NULL";
    // Never placed in the command unless it is a number.
    if (!PlainNumber(text)) throw kvl::Error(kvl::kTypeMismatch);
    return text;
}

bool StreetStore::Save(const Street& street) {
    std::string names, values, assignments;
    for (const auto& [field, text] : street.fields) {
        const std::string value = SqlValue(field, text);
        const char* comma = names.empty() ? "" : ", ";
        names += comma + field;
        values += comma + value;
        assignments += comma + field + " = " + value;
    }
    // A new street takes the next key, as SQLite would give it; a server's integer key has
    // no such default. Two clients saving at once meet at the primary key, which refuses
    // the second.
    if (street.id.empty())
        return Run(std::string("INSERT INTO ") + kStreetTable + " (" + kStreetKey + ", " + names +
                   ") SELECT COALESCE(MAX(" + kStreetKey + "), 0) + 1, " + values + " FROM " +
                   kStreetTable);
    return Run(std::string("UPDATE ") + kStreetTable + " SET " + assignments + " WHERE " +
               kStreetKey + " = " + NumberOrNull(street.id));
}

bool StreetStore::Delete(const std::string& id) {
    return Run(std::string("DELETE FROM ") + kStreetTable + " WHERE " + kStreetKey + " = " +
               NumberOrNull(id));
}

bool StreetStore::Run(const std::string& sql) {
    auto r = session_->Exec(sql);
    return r && !r->erro;
}

}  // namespace moradas
