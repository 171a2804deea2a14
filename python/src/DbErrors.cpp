// The exception classes of PEP 249 below the module's Error, and which of them a driver's
// failure raises.

#include <array>
#include <string_view>
#include <utility>

#include "DbApi.h"
#include "kvl/OdbcError.h"

namespace kvlpy::dbapi {

namespace {

struct ErrorClass {
    const char* name;
    int base;  // index in this table, -1 for the module's Error
    const char* doc;
};

// In the order of Failure, then Warning; bases come before the classes derived from them.
constexpr std::array<ErrorClass, 9> kClasses{{
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

using Rule = std::pair<std::string_view, Failure>;

// Whole SQLSTATEs that say more than their class.
constexpr Rule kStates[] = {
    {"HYT00", Failure::kOperational},  {"HYT01", Failure::kOperational},
    {"HY001", Failure::kOperational},  {"HY008", Failure::kOperational},
    {"HYC00", Failure::kNotSupported}, {"IM001", Failure::kNotSupported},
};

// SQLSTATE classes, their first two characters; IM and HY are the ODBC calls' own.
constexpr Rule kStateClasses[] = {
    {"08", Failure::kOperational},  {"28", Failure::kOperational}, {"40", Failure::kOperational},
    {"53", Failure::kOperational},  {"54", Failure::kOperational}, {"55", Failure::kOperational},
    {"57", Failure::kOperational},  {"58", Failure::kOperational}, {"21", Failure::kData},
    {"22", Failure::kData},         {"23", Failure::kIntegrity},   {"24", Failure::kInternal},
    {"25", Failure::kInternal},     {"XX", Failure::kInternal},    {"42", Failure::kProgramming},
    {"3D", Failure::kProgramming},  {"3F", Failure::kProgramming}, {"07", Failure::kProgramming},
    {"0A", Failure::kNotSupported}, {"IM", Failure::kInterface},   {"HY", Failure::kInterface},
};

// What the SQLite driver's messages under its catch-all state tell.
constexpr Rule kSqliteMessages[] = {
    {"syntax error", Failure::kProgramming},
    {"no such", Failure::kProgramming},
    {"unbound parameters", Failure::kProgramming},
    {"within a transaction", Failure::kInternal},
    {"no transaction is active", Failure::kInternal},
    {"only one SQL statement", Failure::kNotSupported},
};

// The environment asks for ODBC 2 behaviour, so the driver manager gives some states by
// their ODBC 2 names: S1xxx for HYxxx, S00xx for 42Sxx, 37000 for 42000.
std::string Odbc3State(const std::string& s) {
    if (s.rfind("S1", 0) == 0) return "HY" + s.substr(2);
    if (s.rfind("S00", 0) == 0) return "42S" + s.substr(3);
    if (s == "37000") return "42000";
    return s;
}

// SQLite's result codes, which its driver gives as the native code under HY000.
Failure FailureOfSqlite(const kvl::odbc::Diagnostic& d) {
    switch (d.native) {
        case 19:  // a constraint
            return Failure::kIntegrity;
        case 18:  // too big
        case 20:  // a type mismatch
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
    for (const auto& [text, kind] : kSqliteMessages)
        if (d.message.find(text) != std::string::npos) return kind;
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
    const std::string state = Odbc3State(d.state);
    if (state == "HY000") return FailureOfSqlite(d);
    for (const auto& [s, kind] : kStates)
        if (state == s) return kind;
    for (const auto& [c, kind] : kStateClasses)
        if (state.compare(0, 2, c) == 0) return kind;
    return Failure::kDatabase;
}

void BindErrors(py::module_& m, ConnectionClass& conn) {
    py::handle error = m.attr("Error");
    for (size_t i = 0; i < kClasses.size(); ++i) {
        const ErrorClass& c = kClasses[i];
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
