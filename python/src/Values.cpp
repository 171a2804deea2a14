// Conversions between variants and Python values, and the Array type for variant arrays.

#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "Bindings.h"
#include "ClientObjects.h"

namespace kvlpy {

namespace {

// A Python integer as the narrowest of the variant's integer kinds, else a double.
kvl::Variant FromInteger(py::handle value) {
    int overflow = 0;
    long long n = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow != 0) return kvl::Variant(value.cast<double>());
    if (n >= INT16_MIN && n <= INT16_MAX) return kvl::Variant(static_cast<int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX) return kvl::Variant(static_cast<int32_t>(n));
    return kvl::Variant(static_cast<double>(n));
}

// A Python sequence as a one-dimensional array from 0.
kvl::VariantArray FromSequence(py::sequence values) {
    kvl::VariantArray a;
    a.bounds = {{0, static_cast<int32_t>(values.size())}};
    for (py::handle v : values) a.items.push_back(ToVariant(v));
    return a;
}

kvl::VariantArray Dimensioned(const std::vector<std::pair<int32_t, int32_t>>& bounds) {
    kvl::VariantArray a;
    size_t count = 1;
    for (const auto& [lower, upper] : bounds) {
        if (upper < lower - 1) throw kvl::Error(kvl::kSubscriptOutOfRange);
        a.bounds.push_back({lower, upper - lower + 1});
        count *= static_cast<size_t>(upper - lower + 1);
    }
    a.items.resize(count);
    return a;
}

std::vector<int32_t> Subscripts(py::handle key) {
    if (py::isinstance<py::tuple>(key)) return key.cast<std::vector<int32_t>>();
    return {key.cast<int32_t>()};
}

}  // namespace

kvl::Variant ToVariant(py::handle value) {
    if (value.is_none()) return {};
    if (py::isinstance<py::bool_>(value)) return kvl::Variant(value.cast<bool>());
    if (py::isinstance<py::int_>(value)) return FromInteger(value);
    if (py::isinstance<py::float_>(value)) return kvl::Variant(value.cast<double>());
    if (py::isinstance<py::str>(value)) return kvl::Variant(value.cast<std::string>());
    if (py::isinstance<kvl::VariantArray>(value))
        return kvl::Variant(value.cast<kvl::VariantArray>());
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value))
        return kvl::Variant(FromSequence(value.cast<py::sequence>()));
    if (py::isinstance<kvl::Object>(value))
        return kvl::Variant(value.cast<std::shared_ptr<kvl::Object>>());
    return kvl::Variant(ClientObjectOf(py::reinterpret_borrow<py::object>(value)));
}

py::object FromVariant(const kvl::Variant& value) {
    using Kind = kvl::Variant::Kind;
    switch (value.kind()) {
        case Kind::Empty:
            return py::none();
        case Kind::Boolean:
            return py::bool_(value.ToBool());
        case Kind::Int16:
        case Kind::Int32:
            return py::int_(value.ToInt32());
        case Kind::Double:
            return py::float_(value.ToDouble());
        case Kind::String:
            return py::str(*value.IfString());
        case Kind::Array:
            return py::cast(value.array());
        case Kind::Object: {
            if (py::object client = PythonObjectOf(value.object())) return client;
            return py::cast(value.object());
        }
    }
    return py::none();
}

void BindArray(py::module_& m) {
    py::class_<kvl::VariantArray>(m, "Array", R"(A variant array: every dimension has its own
lower and upper bound. Array(lower, upper) makes a one-dimensional array, Array([(l1, u1),
(l2, u2)]) one of several dimensions, all elements None. a[i] or a[i, j] reads and writes
an element; a subscript outside its bounds is error 9.)")
        .def(py::init([](int32_t lower, int32_t upper) {
                 return Dimensioned({{lower, upper}});
             }),
             py::arg("lower"), py::arg("upper"))
        .def(py::init(&Dimensioned), py::arg("bounds"))
        .def_static(
            "of",
            [](py::sequence values, int32_t lower) {
                kvl::VariantArray a = FromSequence(values);
                a.bounds[0].lower = lower;
                return a;
            },
            py::arg("values"), py::arg("lower") = 0,
            "A one-dimensional array of the values, its first at subscript lower.")
        .def_property_readonly("lower", [](const kvl::VariantArray& a) { return a.LBound(); })
        .def_property_readonly("upper", [](const kvl::VariantArray& a) { return a.UBound(); })
        .def_property_readonly("dimensions",
                               [](const kvl::VariantArray& a) { return a.bounds.size(); })
        .def("LBound", &kvl::VariantArray::LBound, py::arg("dimension") = 1)
        .def("UBound", &kvl::VariantArray::UBound, py::arg("dimension") = 1)
        .def("__getitem__",
             [](const kvl::VariantArray& a, py::handle key) { return a.At(Subscripts(key)); })
        .def("__setitem__", [](kvl::VariantArray& a, py::handle key,
                               const kvl::Variant& v) { a.At(Subscripts(key)) = v; })
        .def("__len__", [](const kvl::VariantArray& a) { return a.items.size(); })
        .def(
            "tolist", [](const kvl::VariantArray& a) { return a.items; },
            "The elements in storage order (the last subscript varies fastest).")
        .def("__eq__",
             [](const kvl::VariantArray& a, const kvl::VariantArray& b) {
                 return a.bounds == b.bounds && a.items == b.items;
             })
        .def("__repr__", [](const kvl::VariantArray& a) {
            std::string bounds;
            for (const auto& b : a.bounds)
                bounds += (bounds.empty() ? "" : ", ") + std::to_string(b.lower) + " to " +
                          std::to_string(b.lower + b.count - 1);
            return "Array(" + bounds + ": " + py::repr(py::cast(a.items)).cast<std::string>() + ")";
        });
}

}  // namespace kvlpy
