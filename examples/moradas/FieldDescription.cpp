#include "FieldDescription.h"

#include "kvl/Error.h"
#include "kvl/TypeCodes.h"

namespace moradas {

namespace {

// Rows of the properties array.
enum Property : int32_t {
    kName = 3,
    kType = 4,
    kNumeric = 6,
    kDecimals = 8,
    kGreatest = 9,
    kLeast = 10,
    kWidth = 11,
    kFormat = 12,
};

// A floating-point field has no digits of its own after the point: its values keep theirs.
int DecimalsOf(const kvl::VariantArray& props, int32_t i) {
    const int16_t type = props.At({kType, i}).ToInt16();
    if (type == kvl::kTipoFloat || type == kvl::kTipoReal) return kAnyDecimals;
    return props.At({kDecimals, i}).ToInt32();
}

// Numbers written with every digit they need and no more, never with an exponent.
QString Plain(const QLocale& locale, double value, int decimals) {
    return locale.toString(value, 'f',
                           decimals == kAnyDecimals ? QLocale::FloatingPointShortest : decimals);
}

}  // namespace

std::vector<FieldDescription> DescribedFields(const kvl::VariantArray& props,
                                              const std::map<std::string, FieldTitle>& titles,
                                              const std::string& key) {
    std::vector<FieldDescription> fields;
    for (int32_t i = 1; i <= props.UBound(2); ++i) {
        FieldDescription f;
        f.name = props.At({kName, i}).ToString();
        if (f.name == key) continue;
        auto title = titles.find(f.name);
        f.title = title == titles.end() ? f.name : title->second.title;
        f.required = title != titles.end() && title->second.required;
        f.numeric = props.At({kNumeric, i}).ToBool();
        f.decimals = DecimalsOf(props, i);
        f.greatest = props.At({kGreatest, i}).ToDouble();
        f.least = props.At({kLeast, i}).ToDouble();
        f.width = props.At({kWidth, i}).ToInt32();
        f.format = props.At({kFormat, i}).ToString();
        fields.push_back(std::move(f));
    }
    return fields;
}

QLocale NumberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString Shown(const std::string& stored, const FieldDescription& f) {
    const QString text = QString::fromStdString(stored);
    bool ok = false;
    const double value = f.numeric ? text.toDouble(&ok) : 0;
    return ok ? Plain(NumberLocale(), value, f.decimals) : text;
}

std::string Stored(const QString& typed, const FieldDescription& f) {
    if (!f.numeric) return typed.toStdString();
    const QString text = typed.trimmed();
    if (text.isEmpty()) return "";
    bool ok = false;
    const double value = NumberLocale().toDouble(text, &ok);
    const std::string field = "«" + f.title + "»: ";
    if (!ok)
        throw kvl::Error(kvl::kTypeMismatch,
                         field + "\"" + text.toStdString() + "\" não é um número");
    if (value < f.least || value > f.greatest)
        throw kvl::Error(kvl::kOverflow, field + text.toStdString() + " está fora dos limites");
    return Plain(QLocale::c(), value, f.decimals).toStdString();
}

}  // namespace moradas
