#pragma once
// kvl2005.connect, the standard database interface of Python (PEP 249), as a thin layer over
// the library's own additions: a session opened with a connection text, its kvlLIG for
// prepared commands and transactions, and the typed reading of their results.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/TypedValue.h"
#include "kvl/kvlLIG.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"
#include "kvl/odbc/Api.h"

namespace kvlpy::dbapi {

namespace py = pybind11;

// The exception classes below Error, as PEP 249 arranges them.
enum class Failure {
    kInterface,
    kDatabase,
    kData,
    kOperational,
    kIntegrity,
    kInternal,
    kProgramming,
    kNotSupported,
};

// A failure of this layer or of the driver, raised in Python as the class its kind names,
// with the driver's diagnostics (SQLSTATE, native code, message) when it has them.
class DbError : public std::exception {
  public:
    DbError(Failure kind, std::vector<kvl::odbc::Diagnostic> diagnostics);
    DbError(Failure kind, std::string message) : DbError(kind, {{"", 0, std::move(message)}}) {}
    const char* what() const noexcept override { return text_.c_str(); }
    Failure kind() const { return kind_; }
    const std::vector<kvl::odbc::Diagnostic>& diagnostics() const { return diagnostics_; }

  private:
    Failure kind_;
    std::vector<kvl::odbc::Diagnostic> diagnostics_;
    std::string text_;
};

// The class a driver's diagnostic belongs to: by its SQLSTATE's class, and, for the SQLite
// driver's catch-all states, by its native code and message.
Failure FailureOf(const kvl::odbc::Diagnostic& d);

// Values between the typed reading and Python. Conversions report Python's own errors by
// throwing py::error_already_set.
void ImportValueTypes();
py::tuple Row(const kvl::kvlRES& r);
std::vector<kvl::TypedValue> Parameters(py::handle values);

// What a connection's close takes from its cursors first: their prepared commands. The
// SQLite driver keeps the memory of statements still allocated when it disconnects.
class CommandHolder {
  public:
    virtual ~CommandHolder() = default;
    virtual void ReleaseCommand() = 0;
};

class Connection {
  public:
    // Opens a session with the connection text, or with the session's own properties
    // (driver, server, database, uid, pwd, dsn) when the text is empty.
    Connection(const std::string& text, const py::dict& properties, bool autocommit);
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The open link; InterfaceError once closed.
    kvl::kvlLIG& Link() const;
    // The link for a command: with a transaction begun unless in auto-commit.
    kvl::kvlLIG& LinkForCommand();
    void Commit();
    void Rollback();
    void Close();
    bool autocommit() const { return autocommit_; }
    void SetAutocommit(bool on);
    // A cursor of this connection, whose command the close releases.
    void Track(std::weak_ptr<CommandHolder> cursor);

  private:
    std::shared_ptr<kvl::kvlSERV> session_;
    std::shared_ptr<kvl::kvlLIG> link_;
    bool autocommit_;
    std::vector<std::weak_ptr<CommandHolder>> cursors_;
};

using ConnectionClass = py::class_<Connection, std::shared_ptr<Connection>>;

void BindErrors(py::module_& m, ConnectionClass& conn);
void BindTypes(py::module_& m);
void BindConnection(py::module_& m, ConnectionClass& conn);
void BindCursor(py::module_& m, ConnectionClass& conn);

// Everything above, once the module's own Error exists.
void Bind(py::module_& m);

}  // namespace kvlpy::dbapi
