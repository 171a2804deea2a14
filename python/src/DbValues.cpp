// Values between the typed reading and Python, built with the C API directly: a row is
// read for every fetch, so no value goes through pybind11's generic casts.

#include "DbApi.h"
// The datetime C API needs Python.h, which pybind11 includes, before it.
#include <datetime.h>

#include <type_traits>

namespace kvlpy::dbapi {

namespace {

// decimal.Decimal, imported once with the module and kept for its life.
PyObject* decimalClass = nullptr;

PyObject* Text(const std::string& s) {
    return PyUnicode_DecodeUTF8(s.data(), static_cast<Py_ssize_t>(s.size()), "strict");
}

PyObject* Decimal(const kvl::Decimal& d) {
    PyObject* digits = Text(d.digits);
    if (!digits) return nullptr;
    PyObject* value = PyObject_CallOneArg(decimalClass, digits);
    Py_DECREF(digits);
    return value;
}

int Micro(const kvl::Time& t) {
    return static_cast<int>(t.fraction / 1000);
}

// A new reference, or null with Python's error set.
PyObject* ToPython(const kvl::TypedValue& value) {
    return std::visit(
        [](const auto& v) -> PyObject* {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                Py_RETURN_NONE;
            } else if constexpr (std::is_same_v<T, bool>) {
                return PyBool_FromLong(v);
            } else if constexpr (std::is_same_v<T, int64_t>) {
                return PyLong_FromLongLong(v);
            } else if constexpr (std::is_same_v<T, double>) {
                return PyFloat_FromDouble(v);
            } else if constexpr (std::is_same_v<T, kvl::Decimal>) {
                return Decimal(v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return Text(v);
            } else if constexpr (std::is_same_v<T, kvl::Bytes>) {
                return PyBytes_FromStringAndSize(reinterpret_cast<const char*>(v.data()),
                                                 static_cast<Py_ssize_t>(v.size()));
            } else if constexpr (std::is_same_v<T, kvl::Date>) {
                return PyDate_FromDate(v.year, v.month, v.day);
            } else if constexpr (std::is_same_v<T, kvl::Time>) {
                return PyTime_FromTime(v.hour, v.minute, v.second, Micro(v));
            } else {
                static_assert(std::is_same_v<T, kvl::Timestamp>);
                return PyDateTime_FromDateAndTime(v.date.year, v.date.month, v.date.day,
                                                  v.time.hour, v.time.minute, v.time.second,
                                                  Micro(v.time));
            }
        },
        value);
}

void Check(bool ok) {
    if (!ok) throw py::error_already_set();
}

std::string Utf8(PyObject* text) {
    Py_ssize_t size = 0;
    const char* bytes = PyUnicode_AsUTF8AndSize(text, &size);
    Check(bytes != nullptr);
    return {bytes, static_cast<size_t>(size)};
}

// Digits in plain notation: the driver takes no exponent.
kvl::Decimal DecimalOf(PyObject* value, const char* format) {
    py::object digits =
        py::reinterpret_steal<py::object>(PyObject_Format(value, py::str(format).ptr()));
    Check(bool(digits));
    return {Utf8(digits.ptr())};
}

// A bytes-like object's contents, held while they are copied.
struct BufferView {
    Py_buffer view;
    explicit BufferView(PyObject* value) {
        Check(PyObject_GetBuffer(value, &view, PyBUF_CONTIG_RO) == 0);
    }
    ~BufferView() { PyBuffer_Release(&view); }
    BufferView(const BufferView&) = delete;
    BufferView& operator=(const BufferView&) = delete;
};

kvl::Bytes BytesOf(PyObject* value) {
    const BufferView b(value);
    const auto* data = static_cast<const uint8_t*>(b.view.buf);
    return kvl::Bytes(data, data + b.view.len);
}

kvl::Time TimeOf(int hour, int minute, int second, int micro) {
    return {static_cast<uint8_t>(hour), static_cast<uint8_t>(minute), static_cast<uint8_t>(second),
            static_cast<uint32_t>(micro) * 1000};
}

kvl::Date DateOf(PyObject* v) {
    return {static_cast<int16_t>(PyDateTime_GET_YEAR(v)),
            static_cast<uint8_t>(PyDateTime_GET_MONTH(v)),
            static_cast<uint8_t>(PyDateTime_GET_DAY(v))};
}

// A time with a zone would lose it: the drivers take wall-clock values only.
void RefuseZone(PyObject* v, PyObject* zone) {
    if (zone == Py_None) return;
    throw DbError(Failure::kNotSupported,
                  "a time with a time zone cannot be sent: " + py::repr(v).cast<std::string>());
}

kvl::TypedValue TimeValue(PyObject* v) {
    if (PyDateTime_Check(v)) {
        RefuseZone(v, PyDateTime_DATE_GET_TZINFO(v));
        return kvl::Timestamp{
            DateOf(v), TimeOf(PyDateTime_DATE_GET_HOUR(v), PyDateTime_DATE_GET_MINUTE(v),
                              PyDateTime_DATE_GET_SECOND(v), PyDateTime_DATE_GET_MICROSECOND(v))};
    }
    if (PyDate_Check(v)) return DateOf(v);
    RefuseZone(v, PyDateTime_TIME_GET_TZINFO(v));
    return TimeOf(PyDateTime_TIME_GET_HOUR(v), PyDateTime_TIME_GET_MINUTE(v),
                  PyDateTime_TIME_GET_SECOND(v), PyDateTime_TIME_GET_MICROSECOND(v));
}

kvl::TypedValue ToValue(PyObject* v) {
    if (v == Py_None) return std::monostate{};
    if (PyBool_Check(v)) return v == Py_True;
    if (PyLong_Check(v)) {
        int overflow = 0;
        const long long n = PyLong_AsLongLongAndOverflow(v, &overflow);
        Check(!(n == -1 && PyErr_Occurred()));
        // Beyond 64 bits an integer goes as an exact number.
        if (overflow != 0) return DecimalOf(v, "d");
        return int64_t{n};
    }
    if (PyFloat_Check(v)) return PyFloat_AS_DOUBLE(v);
    if (PyUnicode_Check(v)) return Utf8(v);
    if (PyDate_Check(v) || PyTime_Check(v)) return TimeValue(v);
    const int isDecimal = PyObject_IsInstance(v, decimalClass);
    Check(isDecimal >= 0);
    if (isDecimal) return DecimalOf(v, "f");
    if (PyObject_CheckBuffer(v)) return BytesOf(v);
    throw DbError(Failure::kProgramming,
                  std::string("a parameter of type ") + Py_TYPE(v)->tp_name + " cannot be sent");
}

}  // namespace

void ImportValueTypes() {
    PyDateTime_IMPORT;
    Check(PyDateTimeAPI != nullptr);
    decimalClass = py::object(py::module_::import("decimal").attr("Decimal")).release().ptr();
}

py::tuple Row(const kvl::kvlRES& r) {
    const int16_t columns = r.Cols;
    py::tuple row(columns);
    for (int16_t n = 0; n < columns; ++n) {
        PyObject* value = ToPython(r.ColTipada(static_cast<int16_t>(n + 1)));
        Check(value != nullptr);
        PyTuple_SET_ITEM(row.ptr(), n, value);
    }
    return row;
}

std::vector<kvl::TypedValue> Parameters(py::handle values) {
    // qmark style: the values in the order of the markers; None for none.
    if (values.is_none()) return {};
    if (PyUnicode_Check(values.ptr()) || PyBytes_Check(values.ptr()) ||
        PyDict_Check(values.ptr()) || !PySequence_Check(values.ptr()))
        throw DbError(Failure::kProgramming,
                      "parameters are a sequence of values, one for each \"?\"");
    py::object all = py::reinterpret_steal<py::object>(
        PySequence_Fast(values.ptr(), "parameters are a sequence"));
    Check(bool(all));
    const Py_ssize_t count = PySequence_Fast_GET_SIZE(all.ptr());
    PyObject** items = PySequence_Fast_ITEMS(all.ptr());
    std::vector<kvl::TypedValue> typed;
    typed.reserve(static_cast<size_t>(count));
    for (Py_ssize_t i = 0; i < count; ++i) typed.push_back(ToValue(items[i]));
    return typed;
}

}  // namespace kvlpy::dbapi
