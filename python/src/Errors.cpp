// The library's run-time errors as the Python exception kvl2005.Error, carrying the error's
// number and description. It is also the base of the standard interface's exceptions.

#include "Bindings.h"

namespace kvlpy {

void BindErrors(py::module_& m) {
    // Kept for the module's life: the translator raises it after the module is set up.
    static py::handle errorType = PyErr_NewExceptionWithDoc(
        "kvl2005.Error",
        "The base of the module's errors. Raised itself for a run-time error of the "
        "library: number (9 subscript out of range, 13 type mismatch, 438 no such member, "
        "...) and description.",
        PyExc_RuntimeError, nullptr);
    m.attr("Error") = errorType;
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const kvl::Error& e) {
            py::object error = py::reinterpret_borrow<py::object>(errorType)(e.description());
            error.attr("number") = e.number();
            error.attr("description") = e.description();
            PyErr_SetObject(errorType.ptr(), error.ptr());
        }
    });
}

}  // namespace kvlpy
