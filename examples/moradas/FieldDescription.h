#pragma once
// The fields of a table as the user meets them: the title and need of each from the field
// dictionary, its bounds, digits and width from the field properties, and its numbers written
// in the user's notation alike wherever they are shown.

#include <QLocale>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "kvl/Variant.h"

namespace moradas {

// What the field dictionary says of a field.
struct FieldTitle {
    std::string title;
    bool required = false;  // a record needs it filled in
};

struct FieldDescription {
    std::string name;
    std::string title;  // the name where the dictionary has no title
    bool required = false;
    bool numeric = false;
    int decimals = 0;  // digits after the point; kAnyDecimals for floating-point fields
    double least = 0, greatest = 0;
    int32_t width = 0;   // in characters
    std::string format;  // the display format of the field properties
};

inline constexpr int kAnyDecimals = -1;

// The fields of a CamposPropsInfo array, in its order, but for the key; titled from titles.
std::vector<FieldDescription> DescribedFields(const kvl::VariantArray& props,
                                              const std::map<std::string, FieldTitle>& titles,
                                              const std::string& key);

// The user's notation of numbers, without group separators, which would make a typed number
// ambiguous.
QLocale NumberLocale();

// A value as the database gives it, as the user reads it: a number in the user's notation,
// any other text as it is.
QString Shown(const std::string& stored, const FieldDescription& f);

// A typed value as the database takes it: a number read in the user's notation and written
// plain, "" for an empty one. A number that does not read is error 13, one out of the field's
// bounds error 6, each naming the field by its title.
std::string Stored(const QString& typed, const FieldDescription& f);

}  // namespace moradas
