#pragma once
// The streets of the sample database, read and written through the session: the lists of
// municipalities, parishes and street types, the streets of a municipality, the fields of a
// street and one street's values, and saving and deleting a street. Failures are the
// session's: its dialogs have shown them by the time a call answers false or nothing.

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Dialect.h"
#include "FieldDescription.h"
#include "kvl/Variant.h"

namespace kvl {
class kvlSERV;
}

namespace moradas {

// The table the edit form works on, and its key.
inline constexpr const char* kStreetTable = "ruas";
inline constexpr const char* kStreetKey = "id";

// Fields whose values are codes chosen from a list rather than typed.
inline constexpr const char* kTypeField = "tipo";
inline constexpr const char* kParishField = "freguesia";

// One street as its fields' texts, by field name; an empty numeric text is NULL.
struct Street {
    std::string id;  // empty for a street not saved yet
    std::map<std::string, std::string> fields;
};

// A line of the street table: the key, then the texts shown.
struct StreetLine {
    std::string id;
    std::vector<std::string> columns;
};

// A street that lacks a field it needs, named by its title; nothing was sent to the database.
class MissingField : public std::runtime_error {
  public:
    explicit MissingField(const std::string& title)
        : std::runtime_error("O campo «" + title + "» é obrigatório.") {}
};

class StreetStore {
  public:
    explicit StreetStore(std::shared_ptr<kvl::kvlSERV> session) : session_(std::move(session)) {}

    // ListaEnche of list (a list control) with the municipalities, parishes of one
    // municipality or street types, in the user's order; the codes array back.
    kvl::Variant FillMunicipalities(const kvl::Variant& list);
    kvl::Variant FillParishes(const kvl::Variant& list, const std::string& municipality);
    kvl::Variant FillStreetTypes(const kvl::Variant& list);

    // The fields of a street but its key, in the table's order; read once.
    const std::vector<FieldDescription>& Fields();

    // The headings of StreetLine's columns: the titles of the fields they show.
    std::vector<std::string> LineHeadings();
    // The streets of a municipality in the user's order of their names, numbers as the form
    // shows them.
    std::vector<StreetLine> Streets(const std::string& municipality);

    std::optional<Street> Read(const std::string& id);
    // Inserts a street without id, updates one with; the street's key when the command
    // succeeded, a new street's given by the database. A required field left empty throws
    // MissingField, and a numeric field whose text is not a plain number ("-12.5") error 13,
    // before anything is sent.
    std::optional<std::string> Save(const Street& street);
    bool Delete(const std::string& id);

  private:
    std::map<std::string, FieldTitle> Titles();
    void CheckRequired(const Street& street);
    // The value as SQL: quoted when the field's values are written between quotes, NULL
    // for an empty number.
    std::string SqlValue(const std::string& field, const std::string& text);
    std::optional<std::string> Insert(const std::string& names, const std::string& values);
    bool Run(const std::string& sql);

    std::shared_ptr<kvl::kvlSERV> session_;
    std::vector<FieldDescription> fields_;  // empty until first asked for
    std::optional<kvlsession::Dialect> dialect_;
};

}  // namespace moradas
