#include "StreetForm.h"

#include <QDoubleValidator>
#include <QFormLayout>
#include <QLocale>
#include <algorithm>

#include "kvl/Error.h"
#include "kvl/kvlSERV.h"
#include "kvlqt/QtListControl.h"

namespace moradas {

namespace {

// Rows of the properties array.
enum Property : int32_t {
    kName = 3,
    kNumeric = 6,
    kDecimals = 8,
    kGreatest = 9,
    kLeast = 10,
    kWidth = 11,
    kFormat = 12,
};

// The window's key for its saved place is its title before the "(".
constexpr const char* kTitle = "Rua";

// The field shown in the title.
constexpr const char* kNameField = "nome";

// Fields chosen from a list rather than typed.
constexpr const char* kTypeField = "tipo";
constexpr const char* kParishField = "freguesia";

// Widths beyond this many characters stretch with the form instead.
constexpr int kWidestFixed = 40;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The user's notation of numbers, without group separators, which would make a typed
// number ambiguous.
QLocale NumberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// A number as the database writes it, shown in the user's notation.
QString Shown(const std::string& text, int decimals) {
    bool ok = false;
    const double value = FromUtf8(text).toDouble(&ok);
    if (!ok) return FromUtf8(text);
    return NumberLocale().toString(value, decimals > 0 ? 'f' : 'g', decimals > 0 ? decimals : 15);
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
    const kvl::Variant props = store_.Session().CamposPropsInfo(kStreetTable);
    const kvl::VariantArray& a = props.array();
    for (int32_t i = 1; i <= a.UBound(2); ++i) AddField(a, i);
    if (Field* type = Named(kTypeField))
        type->codes = store_.FillStreetTypes(kvlqt::ListOf(type->combo));
}

void StreetForm::AddField(const kvl::VariantArray& props, int32_t i) {
    Field f;
    f.name = props.At({kName, i}).ToString();
    if (f.name == kStreetKey) return;
    f.numeric = props.At({kNumeric, i}).ToBool();
    f.decimals = props.At({kDecimals, i}).ToInt32();
    f.greatest = props.At({kGreatest, i}).ToDouble();
    f.least = props.At({kLeast, i}).ToDouble();
    const int32_t width = props.At({kWidth, i}).ToInt32();
    QWidget* widget = nullptr;
    if (f.name == kTypeField || f.name == kParishField) {
        widget = f.combo = new QComboBox(this);
    } else {
        widget = f.edit = new QLineEdit(this);
        if (f.numeric) {
            auto* validator = new QDoubleValidator(f.least, f.greatest, f.decimals, f.edit);
            validator->setNotation(QDoubleValidator::StandardNotation);
            validator->setLocale(NumberLocale());
            f.edit->setValidator(validator);
        } else if (width > 0 && width < f.edit->maxLength()) {
            f.edit->setMaxLength(width);
        }
        if (width <= kWidestFixed) {
            const int digit = f.edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
            f.edit->setFixedWidth(digit * std::max(width, 4) + 2 * digit);
        }
    }
    widget->setObjectName(FromUtf8("fld_" + f.name));
    widget->setToolTip(FromUtf8(props.At({kFormat, i}).ToString()));
    static_cast<QFormLayout*>(layout())->addRow(FromUtf8(f.name), widget);
    fields_.push_back(std::move(f));
}

StreetForm::Field* StreetForm::Named(const std::string& name) {
    auto it = std::find_if(fields_.begin(), fields_.end(),
                           [&](const Field& f) { return f.name == name; });
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
        auto value = street.fields.find(f.name);
        const std::string text = value == street.fields.end() ? "" : value->second;
        if (f.combo) {
            Select(*f.combo, f.codes, text);
        } else {
            f.edit->setText(f.numeric ? Shown(text, f.decimals) : FromUtf8(text));
        }
    }
}

void StreetForm::Clear() {
    Show(Street{});
}

std::string StreetForm::ReadNumber(const Field& f) const {
    const QString text = f.edit->text().trimmed();
    if (text.isEmpty()) return "";
    bool ok = false;
    const double value = NumberLocale().toDouble(text, &ok);
    if (!ok)
        throw kvl::Error(kvl::kTypeMismatch,
                         f.name + ": \"" + text.toStdString() + "\" is not a number");
    if (value < f.least || value > f.greatest)
        throw kvl::Error(kvl::kOverflow, f.name + ": " + text.toStdString() + " is out of bounds");
    return QString::number(value, 'f', f.decimals).toStdString();
}

Street StreetForm::Current() const {
    Street street;
    street.id = id_;
    for (const Field& f : fields_) {
        std::string& text = street.fields[f.name];
        if (f.combo) {
            text = f.codes.array().At({f.combo->currentIndex()}).ToString();
        } else {
            text = f.numeric ? ReadNumber(f) : f.edit->text().toStdString();
        }
    }
    return street;
}

}  // namespace moradas
