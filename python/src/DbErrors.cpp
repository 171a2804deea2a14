// The exception classes of PEP 249 below the module's Error, and which of them a driver's
// failure raises.

#include <array>
#include <string_view>

#include "DbApi.h"
#include "kvl/OdbcError.h"

namespace kvlpy::dbapi {

namespace {

struct ClassSpec {
    const char* name;
    int base;  // index in this table, -1 for the module's Error
    const char* doc;
};

// In the order of Failure, then Warning; bases come before the classes derived from them.
constexpr std::array<ClassSpec, 9> kClasses{{
    {"InterfaceError", -1, "A failure of the interface rather than of the database."},
    {"DatabaseError", -1, "A failure reported by the database."},
    {"DataError", 1, "A value the database cannot take: out of range, too long, malformed."},
    {"OperationalError", 1,
     "The database's operation failed: refused connect, lost link, timeout, resources."},
    {"IntegrityError", 1, "A constraint refused the change: duplicate key, foreign key."},
    {"InternalError", 1,
     "The database is in a state that does not allow it: cursor, "
     "transaction."},
    {"ProgrammingError", 1,
     "The command is wrong: syntax, unknown table or column, "
     "parameters, a cursor without a result."},
    {"NotSupportedError", 1, "The driver or database does not offer what was asked."},
    {"Warning", -2, "Important warnings; this module raises none of its own."},
}};

// Kept for the module's life: the translator raises them after the module is set up.
std::array<py::handle, kClasses.size()> classes;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// SQLite's result codes, which its driver gives as the native code under S1000 or HY000.
Failure FailureOfSqlite(const kvl::odbc::Diagnostic& d) {
    switch (d.native) {
        case 19:  // a constraint
            return Failure::kIntegrity;
        case 18:  // too big
        case 20:  // a type mismatch
        case 25:  // a parameter's number out of range
            return Failure::kData;
        case 5:   // busy
        case 6:   // locked
        case 8:   // read only
        case 10:  // input or output
        case 13:  // full
        case 14:  // cannot open
            return Failure::kOperational;
        default:
            break;
    }
    for (const char* text : {"syntax error", "no such", "unbound parameters"})
        if (Contains(d.message, text)) return Failure::kProgramming;
    for (const char* text : {"within a transaction", "no transaction is active"})
        if (Contains(d.message, text)) return Failure::kInternal;
    if (Contains(d.message, "only one SQL statement")) return Failure::kNotSupported;
    return Failure::kDatabase;
}

void Raise(const DbError& e) {
    const kvl::odbc::Diagnostic& first = e.diagnostics().front();
    py::handle cls = classes[static_cast<size_t>(e.kind())];
    py::list all;
    for (const auto& d : e.diagnostics()) all.append(py::make_tuple(d.state, d.native, d.message));
    py::object error = cls(e.what());
    error.attr("sqlstate") = first.state;
    error.attr("native") = first.native;
    error.attr("message") = first.message;
    error.attr("diagnostics") = all;
    PyErr_SetObject(cls.ptr(), error.ptr());
}

}  // namespace

DbError::DbError(Failure kind, std::vector<kvl::odbc::Diagnostic> diagnostics)
    : kind_(kind), diagnostics_(std::move(diagnostics)) {
    if (diagnostics_.empty()) diagnostics_.push_back({});
    const auto& first = diagnostics_.front();
    text_ = first.state.empty() ? first.message : "[" + first.state + "] " + first.message;
}

Failure FailureOf(const kvl::odbc::Diagnostic& d) {
    const std::string_view s = d.state;
    if (s == "S1000" || s == "HY000") return FailureOfSqlite(d);
    if (s == "HYT00" || s == "HYT01" || s == "HY001" || s == "HY008") return Failure::kOperational;
    if (s == "HYC00" || s == "IM001" || StartsWith(s, "0A")) return Failure::kNotSupported;
    if (StartsWith(s, "IM")) return Failure::kInterface;  // no such driver or data source
    if (StartsWith(s, "HY") || StartsWith(s, "S1")) return Failure::kInterface;
    for (const char* c : {"08", "28", "40", "53", "54", "55", "57", "58"})
        if (StartsWith(s, c)) return Failure::kOperational;
    for (const char* c : {"21", "22"})
        if (StartsWith(s, c)) return Failure::kData;
    if (StartsWith(s, "23")) return Failure::kIntegrity;
    for (const char* c : {"24", "25", "XX"})
        if (StartsWith(s, c)) return Failure::kInternal;
    for (const char* c : {"42", "3D", "3F", "07"})
        if (StartsWith(s, c)) return Failure::kProgramming;
    return Failure::kDatabase;
}

void BindErrors(py::module_& m, ConnectionClass& conn) {
    py::handle error = m.attr("Error");
    for (size_t i = 0; i < kClasses.size(); ++i) {
        const ClassSpec& c = kClasses[i];
        py::handle base = c.base == -1   ? error
                          : c.base == -2 ? py::handle(PyExc_Exception)
                                         : classes[static_cast<size_t>(c.base)];
        const std::string name = std::string("kvl2005.") + c.name;
        classes[i] = PyErr_NewExceptionWithDoc(name.c_str(), c.doc, base.ptr(), nullptr);
        if (!classes[i]) throw py::error_already_set();
        m.attr(c.name) = classes[i];
    }
    // PEP 249's extension: the classes as attributes of every connection.
    for (const char* name :
         {"Error", "Warning", "InterfaceError", "DatabaseError", "DataError", "OperationalError",
          "IntegrityError", "InternalError", "ProgrammingError", "NotSupportedError"})
        conn.attr(name) = m.attr(name);

    // Registered after the run-time errors' translator, so tried before it: an OdbcError
    // is a kvl::Error too.
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const DbError& e) {
            Raise(e);
        } catch (const kvl::OdbcError& e) {
            auto diagnostics = e.diagnostics();
            if (diagnostics.empty()) diagnostics.push_back({"", 0, e.what()});
            const Failure kind = FailureOf(diagnostics.front());
            Raise(DbError(kind, std::move(diagnostics)));
        }
    });
}

}  // namespace kvlpy::dbapi
