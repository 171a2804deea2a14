#pragma once
// Variants as Python values, both ways: None for empty, bool, int, float, str, an Array
// for an array, and objects as themselves (the library's classes, or any Python object,
// which the library then calls by member name).

#include <pybind11/pybind11.h>

#include "kvl/Variant.h"

namespace kvlpy {

kvl::Variant ToVariant(pybind11::handle value);
pybind11::object FromVariant(const kvl::Variant& value);

}  // namespace kvlpy

namespace pybind11::detail {

template <>
struct type_caster<kvl::Variant> {
    PYBIND11_TYPE_CASTER(kvl::Variant, const_name("object"));

    bool load(handle src, bool) {
        value = kvlpy::ToVariant(src);
        return true;
    }
    static handle cast(const kvl::Variant& v, return_value_policy, handle) {
        return kvlpy::FromVariant(v).release();
    }
};

}  // namespace pybind11::detail
