#pragma once
// The edit form of one street, a window of its own beside the main window. Its fields are laid
// out from the store's fields: each labelled with its title, a text field takes at most its width
// in characters, a number is checked against its least and greatest value and its digits, and
// each field's display format is its tooltip. The street type and the parish are chosen from
// lists.

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

#include "StreetStore.h"

namespace moradas {

class StreetForm : public QWidget {
  public:
    // A window owned by parent, which shows and closes it.
    StreetForm(StreetStore& store, QWidget* parent = nullptr);

    // The parishes offered are those of the municipality.
    void SetMunicipality(const std::string& code);
    void Show(const Street& street);
    // Empties the fields for a new street.
    void Clear();
    // The street the fields describe; a number that does not read is error 13, one out of
    // its field's bounds error 6, each naming the field by its title.
    Street Current() const;

  private:
    struct Field {
        FieldDescription description;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        kvl::Variant codes;  // the combo's codes, from index -1
    };

    void AddField(const FieldDescription& field);
    QLineEdit* NewEdit(const FieldDescription& field);
    Field* Named(const std::string& name);

    StreetStore& store_;
    std::vector<Field> fields_;
    std::string id_;
};

}  // namespace moradas
