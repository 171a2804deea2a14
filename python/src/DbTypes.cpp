// The module's globals of PEP 249: its level, threading and parameter style, the type
// objects that a column's type code compares equal to, and the value constructors.

#include <pybind11/stl.h>

#include <set>

#include "DbApi.h"

namespace kvlpy::dbapi {

namespace {

// A group of ODBC SQL types, which the description gives as each column's type code.
struct TypeObject {
    std::string name;
    std::set<int> codes;

    bool Equals(py::handle other) const {
        if (py::isinstance<TypeObject>(other)) return other.cast<const TypeObject&>().name == name;
        if (!PyLong_Check(other.ptr()) || PyBool_Check(other.ptr())) return false;
        return codes.count(other.cast<int>()) != 0;
    }
};

// The SQL types of each group, ODBC 2 and 3 codes of dates and times alike.
const std::set<int> kText{1, 12, -1, -8, -9, -10, -11};
const std::set<int> kNumbers{2, 3, 4, 5, 6, 7, 8, -5, -6, -7};
const std::set<int> kDateTime{9, 10, 11, 91, 92, 93};
const std::set<int> kBinary{-2, -3, -4};

void BindTypeObjects(py::module_& m) {
    py::class_<TypeObject>(m, "DBAPITypeObject",
                           "A group of column types: equal to the type code of each.")
        .def("__eq__", &TypeObject::Equals)
        .def("__ne__", [](const TypeObject& t, py::handle other) { return !t.Equals(other); })
        .def("__hash__", [](const TypeObject& t) { return py::hash(py::str(t.name)); })
        .def("__repr__", [](const TypeObject& t) { return "kvl2005." + t.name; });
    m.attr("STRING") = TypeObject{"STRING", kText};
    m.attr("NUMBER") = TypeObject{"NUMBER", kNumbers};
    m.attr("DATETIME") = TypeObject{"DATETIME", kDateTime};
    m.attr("BINARY") = TypeObject{"BINARY", kBinary};
    // ODBC has no type of its own for row identifiers: no column's code equals it.
    m.attr("ROWID") = TypeObject{"ROWID", {}};
}

void BindConstructors(py::module_& m) {
    py::module_ datetime = py::module_::import("datetime");
    py::object date = datetime.attr("date"), time = datetime.attr("time");
    py::object timestamp = datetime.attr("datetime");
    m.attr("Date") = date;
    m.attr("Time") = time;
    m.attr("Timestamp") = timestamp;
    m.attr("Binary") = py::module_::import("builtins").attr("bytes");
    // Ticks are seconds since the epoch, read in local time as the time module does.
    m.def("DateFromTicks", [date](double ticks) { return date.attr("fromtimestamp")(ticks); });
    m.def("TimeFromTicks", [timestamp](double ticks) {
        return timestamp.attr("fromtimestamp")(ticks).attr("time")();
    });
    m.def("TimestampFromTicks",
          [timestamp](double ticks) { return timestamp.attr("fromtimestamp")(ticks); });
}

}  // namespace

void BindTypes(py::module_& m) {
    m.attr("apilevel") = "2.0";
    // A session belongs to one thread at a time: threads share the module, not connections.
    m.attr("threadsafety") = 1;
    m.attr("paramstyle") = "qmark";
    BindTypeObjects(m);
    BindConstructors(m);
}

}  // namespace kvlpy::dbapi
