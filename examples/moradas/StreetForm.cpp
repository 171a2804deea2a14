#include "StreetForm.h"

#include <QDoubleValidator>
#include <QFormLayout>
#include <algorithm>

#include "kvlqt/QtListControl.h"

namespace moradas {

namespace {

// The window's key for its saved place is its title before the "(".
constexpr const char* kTitle = "Rua";

// The field shown in the title.
constexpr const char* kNameField = "nome";

// Widths beyond this many characters stretch with the form instead.
constexpr int kWidestFixed = 40;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Select(QComboBox& combo, const kvl::Variant& codes, const std::string& code) {
    const kvl::VariantArray& a = codes.array();
    combo.setCurrentIndex(-1);
    for (int32_t k = 0; k <= a.UBound(); ++k) {
        if (a.At({k}).ToString() == code) combo.setCurrentIndex(k);
    }
}

}  // namespace

StreetForm::StreetForm(StreetStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store) {
    setObjectName(QStringLiteral("frmRua"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setLayout(new QFormLayout);
    for (const FieldDescription& field : store_.Fields()) AddField(field);
    if (Field* type = Named(kTypeField))
        type->codes = store_.FillStreetTypes(kvlqt::ListOf(type->combo));
}

QLineEdit* StreetForm::NewEdit(const FieldDescription& field) {
    auto* edit = new QLineEdit(this);
    if (field.numeric) {
        auto* validator = new QDoubleValidator(edit);
        validator->setBottom(field.least);
        validator->setTop(field.greatest);
        if (field.decimals != kAnyDecimals) validator->setDecimals(field.decimals);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(NumberLocale());
        edit->setValidator(validator);
    } else if (field.width > 0 && field.width < edit->maxLength()) {
        edit->setMaxLength(field.width);
    }
    if (field.width <= kWidestFixed) {
        const int digit = edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        edit->setFixedWidth(digit * std::max(field.width, 4) + 2 * digit);
    }
    return edit;
}

void StreetForm::AddField(const FieldDescription& field) {
    Field f;
    f.description = field;
    QWidget* widget = nullptr;
    if (field.name == kTypeField || field.name == kParishField) {
        widget = f.combo = new QComboBox(this);
    } else {
        widget = f.edit = NewEdit(field);
    }
    widget->setObjectName(FromUtf8("fld_" + field.name));
    widget->setToolTip(FromUtf8(field.format));
    static_cast<QFormLayout*>(layout())->addRow(FromUtf8(field.title), widget);
    fields_.push_back(std::move(f));
}

StreetForm::Field* StreetForm::Named(const std::string& name) {
    auto it = std::find_if(fields_.begin(), fields_.end(),
                           [&](const Field& f) { return f.description.name == name; });
    return it == fields_.end() ? nullptr : &*it;
}

void StreetForm::SetMunicipality(const std::string& code) {
    if (Field* parish = Named(kParishField))
        parish->codes = store_.FillParishes(kvlqt::ListOf(parish->combo), code);
}

void StreetForm::Show(const Street& street) {
    id_ = street.id;
    // The name goes after the "(", so the window keeps one saved place for every street.
    auto name = street.fields.find(kNameField);
    const bool named = name != street.fields.end() && !name->second.empty();
    setWindowTitle(FromUtf8(named ? std::string(kTitle) + " (" + name->second + ")" : kTitle));
    for (Field& f : fields_) {
        auto value = street.fields.find(f.description.name);
        const std::string text = value == street.fields.end() ? "" : value->second;
        if (f.combo) {
            Select(*f.combo, f.codes, text);
        } else {
            f.edit->setText(Shown(text, f.description));
        }
    }
}

void StreetForm::Clear() {
    Show(Street{});
}

Street StreetForm::Current() const {
    Street street;
    street.id = id_;
    for (const Field& f : fields_) {
        street.fields[f.description.name] =
            f.combo ? f.codes.array().At({f.combo->currentIndex()}).ToString()
                    : Stored(f.edit->text(), f.description);
    }
    return street;
}

}  // namespace moradas
