#include "StreetStore.h"

#include <algorithm>

#include "MessagesOff.h"
#include "UserOrder.h"
#include "kvl/Error.h"
#include "kvl/Text.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace moradas {

namespace {

// The fields a line of the street table shows, in its order, after the key.
constexpr const char* kLineFields[] = {kTypeField, "nome", kParishField, "comprimento",
                                       "codigo_postal"};
constexpr size_t kLineName = 1;

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

const FieldDescription* Named(const std::vector<FieldDescription>& fields,
                              const std::string& name) {
    auto it = std::ranges::find(fields, name, &FieldDescription::name);
    return it == fields.end() ? nullptr : &*it;
}

// The line shows the descriptions of the codes chosen from lists, not the codes.
bool ShownAsNumber(const FieldDescription* f) {
    return f && f->numeric && f->name != kTypeField && f->name != kParishField;
}

}  // namespace

kvl::Variant StreetStore::FillMunicipalities(const kvl::Variant& list) {
    return FillInUserOrder(*session_, list, "SELECT id, nome FROM concelhos");
}

kvl::Variant StreetStore::FillParishes(const kvl::Variant& list, const std::string& municipality) {
    return FillInUserOrder(
        *session_, list,
        "SELECT id, nome FROM freguesias WHERE concelho = " + NumberOrNull(municipality));
}

kvl::Variant StreetStore::FillStreetTypes(const kvl::Variant& list) {
    return FillInUserOrder(*session_, list, "SELECT codigo, descricao FROM tipos_via");
}

std::map<std::string, FieldTitle> StreetStore::Titles() {
    // A database without the field dictionary (a server's sample made before it was part of
    // it) shows the fields' names, and leaves the fields a street needs to the database.
    kvlsession::MessagesOff quiet(*session_);
    std::map<std::string, FieldTitle> titles;
    auto r = session_->Exec(std::string("SELECT sCAMPcampo, sCAMPtit, iCAMPobrig FROM kvlCAMPOS "
                                        "WHERE sCAMPtab = '") +
                            kStreetTable + "'");
    if (!r || r->erro) return titles;
    while (r->TemLinhas())
        titles[r->Col(1).ToString()] = {r->Col(2).ToString(), r->Col(3).ToBool()};
    return titles;
}

const std::vector<FieldDescription>& StreetStore::Fields() {
    if (fields_.empty()) {
        const kvl::Variant props = session_->CamposPropsInfo(kStreetTable);
        fields_ = DescribedFields(props.array(), Titles(), kStreetKey);
    }
    return fields_;
}

std::vector<std::string> StreetStore::LineHeadings() {
    std::vector<std::string> headings;
    for (const char* name : kLineFields) {
        const FieldDescription* f = Named(Fields(), name);
        headings.push_back(f ? f->title : name);
    }
    return headings;
}

std::vector<StreetLine> StreetStore::Streets(const std::string& municipality) {
    std::vector<StreetLine> lines;
    auto r = session_->Exec(
        "SELECT r.id, t.descricao, r.nome, f.nome, r.comprimento, r.codigo_postal FROM ruas r "
        "JOIN tipos_via t ON t.codigo = r.tipo JOIN freguesias f ON f.id = r.freguesia "
        "WHERE f.concelho = " +
        NumberOrNull(municipality));
    if (!r) return lines;
    while (r->TemLinhas()) {
        StreetLine& line = lines.emplace_back();
        line.id = r->Col(1).ToString();
        // The key is column 1, the fields shown follow it.
        for (int16_t c = 2; const char* name : kLineFields) {
            const std::string text = r->Col(c++).ToString();
            const FieldDescription* f = Named(Fields(), name);
            line.columns.push_back(ShownAsNumber(f) ? Shown(text, *f).toStdString() : text);
        }
    }
    const UserOrder before;
    std::ranges::stable_sort(lines, [&](const StreetLine& a, const StreetLine& b) {
        return before(a.columns[kLineName], b.columns[kLineName]);
    });
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

void StreetStore::CheckRequired(const Street& street) {
    for (const FieldDescription& f : Fields()) {
        auto value = street.fields.find(f.name);
        if (f.required && (value == street.fields.end() || value->second.empty()))
            throw MissingField(f.title);
    }
}

std::optional<std::string> StreetStore::Save(const Street& street) {
    CheckRequired(street);
    std::string names, values, assignments;
    for (const auto& [field, text] : street.fields) {
        const std::string value = SqlValue(field, text);
        const char* comma = names.empty() ? "" : ", ";
        names += comma + field;
        values += comma + value;
        assignments += comma + field + " = " + value;
    }
    if (street.id.empty()) return Insert(names, values);
    if (!Run(std::string("UPDATE ") + kStreetTable + " SET " + assignments + " WHERE " +
             kStreetKey + " = " + NumberOrNull(street.id)))
        return std::nullopt;
    return street.id;
}

std::optional<std::string> StreetStore::Insert(const std::string& names,
                                               const std::string& values) {
    if (!dialect_) dialect_ = kvlsession::DialectOf(*session_);
    const std::string insert =
        std::string("INSERT INTO ") + kStreetTable + " (" + names + ") VALUES (" + values + ")";
    std::shared_ptr<kvl::kvlRES> key;
    if (*dialect_ == kvlsession::Dialect::PostgreSQL) {
        // The identity column's value, given back by the insert itself.
        key = session_->Exec(insert + " RETURNING " + kStreetKey);
    } else if (auto inserted = session_->Exec(insert); inserted && !inserted->erro) {
        // SQLite tells the key only to the connection that inserted the row: asked on the
        // statement slot the insert ran on.
        key = session_->Exec("SELECT last_insert_rowid()", inserted);
    }
    if (!key || key->erro || !key->TemLinhas()) return std::nullopt;
    return key->Col(1).ToString();
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
