#pragma once
// Python objects as the library's client objects: the library calls them by member name,
// so any object with Clear and AddItem serves as a list control, any object with Msg as a
// progress form, and so on; a member the object lacks is error 438. Python callables
// answer the library's questions.

#include <pybind11/pybind11.h>

#include <memory>

#include "kvl/Dialogs.h"
#include "kvl/Variant.h"

namespace kvlpy {

// The object a Python object becomes inside a variant.
std::shared_ptr<kvl::Object> ClientObjectOf(pybind11::object object);
// The Python object behind a client object, or a null object when it came from elsewhere.
pybind11::object PythonObjectOf(const std::shared_ptr<kvl::Object>& object);

// Questions answered by answer(title, text, style), which gives the button's number.
std::shared_ptr<kvl::Dialogs> DialogsOf(pybind11::object answer);
// The callable behind dialogs, or None when they are not a Python callable.
pybind11::object CallableOf(const std::shared_ptr<kvl::Dialogs>& dialogs);

}  // namespace kvlpy
