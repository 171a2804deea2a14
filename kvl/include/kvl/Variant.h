#pragma once
// The automation variant, used only where the interface takes or gives one.
// Conversions follow the classic automation rules: numeric text converts to a number,
// conversion to an integer rounds halves to even, a value out of range is an overflow
// (error 6) and non-numeric text is a type mismatch (error 13).

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "kvl/Export.h"

namespace kvl {

// Base of the objects a variant can hold.
class KVL_API Object {
  public:
    virtual ~Object() = default;
};

class Variant;

// A multi-dimensional array with its own lower bound per dimension; row-major storage.
struct KVL_API VariantArray {
    struct Bound {
        int32_t lower = 0;
        int32_t count = 0;
        // Written out rather than defaulted, so the header also compiles as C++17.
        bool operator==(const Bound& other) const {
            return lower == other.lower && count == other.count;
        }
        bool operator!=(const Bound& other) const { return !(*this == other); }
    };
    std::vector<Bound> bounds;
    std::vector<Variant> items;

    // Element at the given subscripts; error 9 when any lies outside its bound.
    Variant& At(const std::vector<int32_t>& subscripts);
    const Variant& At(const std::vector<int32_t>& subscripts) const;
    int32_t LBound(int dimension = 1) const;
    int32_t UBound(int dimension = 1) const;

  private:
    size_t Offset(const std::vector<int32_t>& subscripts) const;
};

class KVL_API Variant {
  public:
    enum class Kind { Empty, Boolean, Int16, Int32, Double, String, Array, Object };

    Variant() = default;
    Variant(bool b) : value_(b) {}
    Variant(int16_t i) : value_(i) {}
    Variant(int32_t i) : value_(i) {}
    Variant(double d) : value_(d) {}
    Variant(const char* s) : value_(std::string(s)) {}
    Variant(std::string s) : value_(std::move(s)) {}
    Variant(VariantArray a) : value_(std::make_shared<VariantArray>(std::move(a))) {}
    Variant(std::shared_ptr<Object> o) : value_(std::move(o)) {}

    // Arrays are values: copying a variant copies its array.
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    Variant(Variant&&) noexcept = default;
    Variant& operator=(Variant&&) noexcept = default;

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool IsEmpty() const { return kind() == Kind::Empty; }

    bool ToBool() const;
    int16_t ToInt16() const;
    int32_t ToInt32() const;
    double ToDouble() const;
    std::string ToString() const;

    // The held text without a copy, or nullptr when the variant holds no string.
    const std::string* IfString() const { return std::get_if<std::string>(&value_); }
    // Makes the variant the given text, reusing the room of a text it already holds.
    void AssignString(const char* text, size_t length);
    // Makes the variant a text, keeping the room of a text it already holds, and gives
    // that text to be written in place.
    std::string& Text();

    VariantArray& array();
    const VariantArray& array() const;
    std::shared_ptr<Object> object() const;

    bool operator==(const Variant& other) const;

  private:
    std::variant<std::monostate, bool, int16_t, int32_t, double, std::string,
                 std::shared_ptr<VariantArray>, std::shared_ptr<Object>>
        value_;
};

}  // namespace kvl
