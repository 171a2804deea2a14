#pragma once
// What the binding files share: the Python classes of the library's two classes, one
// registration function per area, and the conventions every area follows.
//
// Conventions (also the module's documentation):
// - Members and properties keep their names, accented ones included.
// - Optional arguments are keyword arguments; None or leaving one out means omitted.
// - A by-reference argument the member writes back is returned: the member gives a tuple
//   of its own result followed by those arguments, in argument order (a member without a
//   result of its own gives the argument alone, or the tuple of them). An optional one is
//   returned only when the caller passes it.
// - Variants are Python values: None (empty), bool, int, float, str, an Array, an object.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <initializer_list>
#include <limits>
#include <memory>

#include "Values.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlpy {

namespace py = pybind11;

using ServerClass = py::class_<kvl::kvlSERV, kvl::Object, std::shared_ptr<kvl::kvlSERV>>;
using ResultClass = py::class_<kvl::kvlRES, kvl::Object, std::shared_ptr<kvl::kvlRES>>;

void BindErrors(py::module_& m);
void BindArray(py::module_& m);
void BindSession(py::module_& m, ServerClass& serv);
void BindStack(ServerClass& serv);
void BindExecution(ServerClass& serv);
void BindServerErrors(ServerClass& serv);
void BindCatalog(ServerClass& serv);
void BindResult(ResultClass& res);

// The result followed by the written-back arguments, or the result alone when none is.
inline py::object WithOutputs(py::object result, std::initializer_list<py::object> outputs) {
    if (outputs.size() == 0) return result;
    py::tuple all(outputs.size() + 1);
    all[0] = std::move(result);
    size_t i = 1;
    for (const py::object& o : outputs) all[i++] = o;
    return all;
}

// An integer of the interface's width; a Python value beyond it is an overflow, as for
// any property put of the interface.
template <class T>
T Narrow(const py::int_& value) {
    long long wide = 0;
    try {
        wide = value.cast<long long>();
    } catch (const py::cast_error&) {
        throw kvl::Error(kvl::kOverflow);
    }
    if (wide < std::numeric_limits<T>::min() || wide > std::numeric_limits<T>::max())
        throw kvl::Error(kvl::kOverflow);
    return static_cast<T>(wide);
}

// A read/write integer property whose put overflows like the interface's.
template <class Class, class C, class T>
void IntProperty(Class& cls, const char* name, T C::*member) {
    cls.def_property(
        name, [member](const C& c) { return c.*member; },
        [member](C& c, const py::int_& value) { c.*member = Narrow<T>(value); });
}

}  // namespace kvlpy
