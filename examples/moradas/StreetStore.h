#pragma once
// The streets of the sample database, read and written through the session: the lists of
// municipalities, parishes and street types, the streets of a municipality, one street's
// fields, and saving and deleting a street. Failures are the session's: its dialogs have
// shown them by the time a call answers false.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/Variant.h"

namespace kvl {
class kvlSERV;
}

namespace moradas {

// The table the edit form works on, and its key.
inline constexpr const char* kStreetTable = "ruas";
inline constexpr const char* kStreetKey = "id";

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

class StreetStore {
  public:
    explicit StreetStore(std::shared_ptr<kvl::kvlSERV> session) : session_(std::move(session)) {}

    // ListaEnche of list (a list control) with the municipalities, parishes of one
    // municipality or street types; the codes array back.
    kvl::Variant FillMunicipalities(const kvl::Variant& list);
    kvl::Variant FillParishes(const kvl::Variant& list, const std::string& municipality);
    kvl::Variant FillStreetTypes(const kvl::Variant& list);

    // The headings of StreetLine's columns.
    static std::vector<std::string> LineHeadings();
    std::vector<StreetLine> Streets(const std::string& municipality);

    std::optional<Street> Read(const std::string& id);
    // Inserts a street without id, updates one with; true when the command succeeded. A
    // numeric field whose text is not a plain number ("-12.5") is error 13, nothing written.
    bool Save(const Street& street);
    bool Delete(const std::string& id);

    kvl::kvlSERV& Session() { return *session_; }

  private:
    // The value as SQL: quoted when the field's values are written between quotes, NULL
    // for an empty number.
    std::string SqlValue(const std::string& field, const std::string& text);
    bool Run(const std::string& sql);

    std::shared_ptr<kvl::kvlSERV> session_;
};

}  // namespace moradas
