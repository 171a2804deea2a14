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
    for (const FieldSpec& spec : store_.Fields()) AddField(spec);
    if (Field* type = Named(kTypeField))
        type->codes = store_.FillStreetTypes(kvlqt::ListOf(type->combo));
}

QLineEdit* StreetForm::NewEdit(const FieldSpec& spec) {
    auto* edit = new QLineEdit(this);
    if (spec.numeric) {
        auto* validator = new QDoubleValidator(edit);
        validator->setBottom(spec.least);
        validator->setTop(spec.greatest);
        if (spec.decimals != kAnyDecimals) validator->setDecimals(spec.decimals);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(NumberLocale());
        edit->setValidator(validator);
    } else if (spec.width > 0 && spec.width < edit->maxLength()) {
        edit->setMaxLength(spec.width);
    }
    if (spec.width <= kWidestFixed) {
        const int digit = edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        edit->setFixedWidth(digit * std::max(spec.width, 4) + 2 * digit);
    }
    return edit;
}

void StreetForm::AddField(const FieldSpec& spec) {
    Field f;
    f.spec = spec;
    QWidget* widget = nullptr;
    if (spec.name == kTypeField || spec.name == kParishField) {
        widget = f.combo = new QComboBox(this);
    } else {
        widget = f.edit = NewEdit(spec);
    }
    widget->setObjectName(FromUtf8("fld_" + spec.name));
    widget->setToolTip(FromUtf8(spec.format));
    static_cast<QFormLayout*>(layout())->addRow(FromUtf8(spec.title), widget);
    fields_.push_back(std::move(f));
}

StreetForm::Field* StreetForm::Named(const std::string& name) {
    auto it = std::find_if(fields_.begin(), fields_.end(),
                           [&](const Field& f) { return f.spec.name == name; });
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
        auto value = street.fields.find(f.spec.name);
        const std::string text = value == street.fields.end() ? "" : value->second;
        if (f.combo) {
            Select(*f.combo, f.codes, text);
        } else {
            f.edit->setText(Shown(text, f.spec));
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
        street.fields[f.spec.name] = f.combo
                                         ? f.codes.array().At({f.combo->currentIndex()}).ToString()
                                         : Stored(f.edit->text(), f.spec);
    }
    return street;
}

}  // namespace moradas
