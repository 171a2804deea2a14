#pragma once
// What the binding files share: the Python classes of the library's two classes, one
// registration per area, and helpers for the conventions every area follows (the
// module's documentation, in Module.cpp, states them for its users).

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

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
void BindResult(ResultClass& res);

// The members of kvlSERV are bound by area, one file each. A file registers its area with
// a ServerArea object at namespace scope, and the module binds every registered area once
// the class exists, so adding an area takes its file and nothing else.
class ServerArea {
  public:
    using Binder = void (*)(ServerClass&);
    explicit ServerArea(Binder bind) { All().push_back(bind); }
    static void BindAll(ServerClass& serv) {
        for (Binder bind : All()) bind(serv);
    }

  private:
    static std::vector<Binder>& All() {
        static std::vector<Binder> areas;
        return areas;
    }
};

// The result followed by the written-back arguments, or the result alone when none is.
inline py::object WithOutputs(py::object result, const std::vector<py::object>& outputs) {
    if (outputs.empty()) return result;
    py::tuple all(outputs.size() + 1);
    all[0] = std::move(result);
    for (size_t i = 0; i < outputs.size(); ++i) all[i + 1] = outputs[i];
    return all;
}

// What a member without a result of its own gives: the written-back argument alone, the
// tuple of them, or None when none was passed.
inline py::object OutputsOnly(const std::vector<py::object>& outputs) {
    if (outputs.empty()) return py::none();
    if (outputs.size() == 1) return outputs[0];
    return py::tuple(py::cast(outputs));
}

// An optional by-reference argument as the member takes it: null when not passed.
template <class T>
T* Ref(std::optional<T>& argument) {
    return argument ? &*argument : nullptr;
}

// The Python values of the optional by-reference arguments that were passed, in order.
template <class... T>
std::vector<py::object> Passed(const std::optional<T>&... arguments) {
    std::vector<py::object> values;
    (..., (arguments ? values.push_back(py::cast(*arguments)) : void()));
    return values;
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
