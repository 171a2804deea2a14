#include "kvl/Variant.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "kvl/Error.h"
#include "kvl/Text.h"

namespace kvl {

namespace {

// Plain decimal text with "." as the point, blanks around allowed; type mismatch otherwise.
double ParseNumber(const std::string& s) {
    std::string_view t = Apara(s);
    std::string lowered = Minusculas(t);
    if (lowered == "true") return -1;
    if (lowered == "false") return 0;
    if (t.empty()) throw Error(kTypeMismatch);
    // from_chars reads "." whatever the process locale (a Qt program sets the user's).
    if (t.size() > 1 && t.front() == '+' && t[1] != '-') t.remove_prefix(1);
    double d = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (ec == std::errc::result_out_of_range) throw Error(kOverflow);
    if (ec != std::errc() || end != t.data() + t.size()) throw Error(kTypeMismatch);
    return d;
}

int64_t RoundHalfEven(double d) {
    double r = std::nearbyint(d);  // the default rounding mode is to nearest, ties to even
    return static_cast<int64_t>(r);
}

template <typename T>
T ToInteger(double d) {
    if (std::isnan(d) || d < static_cast<double>(std::numeric_limits<T>::min()) - 0.5 ||
        d >= static_cast<double>(std::numeric_limits<T>::max()) + 0.5)
        throw Error(kOverflow);
    int64_t r = RoundHalfEven(d);
    if (r < std::numeric_limits<T>::min() || r > std::numeric_limits<T>::max())
        throw Error(kOverflow);
    return static_cast<T>(r);
}

std::string FormatDouble(double d) {
    // As "%.15g", but with "." whatever the process locale.
    char buf[64];
    auto end = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15).ptr;
    std::string s(buf, end);
    if (auto e = s.find('e'); e != std::string::npos) s[e] = 'E';
    return s;
}

}  // namespace

size_t VariantArray::Offset(const std::vector<int32_t>& subscripts) const {
    if (subscripts.size() != bounds.size()) throw Error(kSubscriptOutOfRange);
    size_t offset = 0;
    for (size_t d = 0; d < bounds.size(); ++d) {
        int64_t i = int64_t{subscripts[d]} - bounds[d].lower;
        if (i < 0 || i >= bounds[d].count) throw Error(kSubscriptOutOfRange);
        offset = offset * static_cast<size_t>(bounds[d].count) + static_cast<size_t>(i);
    }
    return offset;
}

Variant& VariantArray::At(const std::vector<int32_t>& subscripts) {
    return items.at(Offset(subscripts));
}

const Variant& VariantArray::At(const std::vector<int32_t>& subscripts) const {
    return items.at(Offset(subscripts));
}

int32_t VariantArray::LBound(int dimension) const {
    if (dimension < 1 || static_cast<size_t>(dimension) > bounds.size())
        throw Error(kSubscriptOutOfRange);
    return bounds[dimension - 1].lower;
}

int32_t VariantArray::UBound(int dimension) const {
    return LBound(dimension) + bounds[dimension - 1].count - 1;
}

Variant::Variant(const Variant& other) : value_(other.value_) {
    if (auto* a = std::get_if<std::shared_ptr<VariantArray>>(&value_))
        *a = std::make_shared<VariantArray>(**a);
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

double Variant::ToDouble() const {
    switch (kind()) {
        case Kind::Empty:
            return 0;
        case Kind::Boolean:
            return std::get<bool>(value_) ? -1 : 0;
        case Kind::Int16:
            return std::get<int16_t>(value_);
        case Kind::Int32:
            return std::get<int32_t>(value_);
        case Kind::Double:
            return std::get<double>(value_);
        case Kind::String:
            return ParseNumber(std::get<std::string>(value_));
        default:
            throw Error(kTypeMismatch);
    }
}

int16_t Variant::ToInt16() const {
    if (kind() == Kind::Int16) return std::get<int16_t>(value_);
    return ToInteger<int16_t>(ToDouble());
}

int32_t Variant::ToInt32() const {
    if (kind() == Kind::Int32) return std::get<int32_t>(value_);
    return ToInteger<int32_t>(ToDouble());
}

bool Variant::ToBool() const {
    if (kind() == Kind::Boolean) return std::get<bool>(value_);
    return ToDouble() != 0;
}

std::string Variant::ToString() const {
    switch (kind()) {
        case Kind::Empty:
            return "";
        case Kind::Boolean:
            return BoolTexto(std::get<bool>(value_));
        case Kind::Int16:
            return std::to_string(std::get<int16_t>(value_));
        case Kind::Int32:
            return std::to_string(std::get<int32_t>(value_));
        case Kind::Double:
            return FormatDouble(std::get<double>(value_));
        case Kind::String:
            return std::get<std::string>(value_);
        default:
            throw Error(kTypeMismatch);
    }
}

void Variant::AssignString(const char* text, size_t length) {
    if (auto* s = std::get_if<std::string>(&value_)) {
        if (length > s->capacity()) {
            s->assign(text, length);
            return;
        }
        // Within the room already held, as rows are read: only the bytes are copied.
        s->resize(length);
        std::memmove(s->data(), text, length);
    } else {
        value_ = std::string(text, length);
    }
}

std::string& Variant::Text() {
    if (auto* s = std::get_if<std::string>(&value_)) return *s;
    return value_.emplace<std::string>();
}

VariantArray& Variant::array() {
    auto* a = std::get_if<std::shared_ptr<VariantArray>>(&value_);
    if (!a) throw Error(kTypeMismatch);
    return **a;
}

const VariantArray& Variant::array() const {
    return const_cast<Variant*>(this)->array();
}

std::shared_ptr<Object> Variant::object() const {
    auto* o = std::get_if<std::shared_ptr<Object>>(&value_);
    if (!o) throw Error(kTypeMismatch);
    return *o;
}

bool Variant::operator==(const Variant& other) const {
    if (kind() != other.kind()) return false;
    switch (kind()) {
        case Kind::Array:
            return array().bounds == other.array().bounds && array().items == other.array().items;
        default:
            return value_ == other.value_;
    }
}

}  // namespace kvl
