// kvl2005.connect and its Connection: a session of the library opened on one connection,
// whose kvlLIG runs the cursors' commands in a transaction unless auto-commit is on.

#include <pybind11/stl.h>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "DbApi.h"
#include "kvl/Dialogs.h"
#include "kvl/Error.h"

namespace kvlpy::dbapi {

namespace {

// Nobody is asked: the interface raises instead, and nothing waits on a terminal.
class NobodyAsked final : public kvl::Dialogs {
  public:
    int32_t Pergunta(std::string_view, std::string_view, int32_t style) override {
        if (style & kvl::kYesNo) return kvl::kNo;
        if (style & kvl::kAbortRetryIgnore) return kvl::kIgnore;
        return 1;  // OK
    }
};

// The connect keywords and the session properties they set.
constexpr std::pair<std::string_view, std::string kvl::kvlSERV::*> kKeywords[] = {
    {"driver", &kvl::kvlSERV::Driver}, {"server", &kvl::kvlSERV::Server},
    {"database", &kvl::kvlSERV::DB},   {"uid", &kvl::kvlSERV::UID},
    {"pwd", &kvl::kvlSERV::PWD},       {"dsn", &kvl::kvlSERV::DSN},
};

void SetProperties(kvl::kvlSERV& s, const py::dict& properties) {
    for (auto [key, value] : properties) {
        const auto name = key.cast<std::string>();
        auto keyword = std::find_if(std::begin(kKeywords), std::end(kKeywords),
                                    [&name](const auto& k) { return k.first == name; });
        if (keyword == std::end(kKeywords))
            throw py::type_error("connect() got an unexpected keyword argument '" + name + "'");
        s.*(keyword->second) = value.cast<std::string>();
    }
}

// A refused open: the driver's reason, which the session's error properties hold.
[[noreturn]] void Refused(const kvl::kvlSERV& s) {
    kvl::odbc::Diagnostic d{s.ErroEstado(), s.ErroNativo, s.ErroD};
    // No driver to ask: the driver manager's own states, or only its warning that the
    // driver's library cannot be loaded. Anything else is the operation's.
    const bool noDriver = FailureOf(d) == Failure::kInterface || d.state.rfind("01", 0) == 0;
    throw DbError(noDriver ? Failure::kInterface : Failure::kOperational, {d});
}

}  // namespace

Connection::Connection(const std::string& text, const py::dict& properties, bool autocommit)
    : session_(kvl::kvlSERV::Create()), autocommit_(autocommit) {
    session_->Dialogos = std::make_shared<NobodyAsked>();
    if (!text.empty() && !properties.empty())
        throw DbError(Failure::kInterface, "give a connection text or its keywords, not both");
    SetProperties(*session_, properties);
    {
        py::gil_scoped_release unlocked;
        // The session builds its own text from the keywords, values enclosed where needed.
        if (text.empty())
            session_->Abre();
        else
            session_->Abre(text);
    }
    if (!session_->Aberto) Refused(*session_);
    link_ = session_->Liga();
}

kvl::kvlLIG& Connection::Link() const {
    if (!link_) throw DbError(Failure::kInterface, "the connection is closed");
    return *link_;
}

kvl::kvlLIG& Connection::LinkForCommand() {
    kvl::kvlLIG& link = Link();
    // Begun where PEP 249 implies it: before the first command after a commit or rollback.
    if (!autocommit_ && !link.EmTransacção()) link.TransacçãoInicia();
    return link;
}

void Connection::Commit() {
    kvl::kvlLIG& link = Link();
    if (link.EmTransacção()) link.TransacçãoConfirma();
}

void Connection::Rollback() {
    kvl::kvlLIG& link = Link();
    if (link.EmTransacção()) link.TransacçãoDesfaz();
}

void Connection::SetAutocommit(bool on) {
    // Turning it on commits what is open, as the ODBC attribute does.
    if (on)
        Commit();
    else
        Link();
    autocommit_ = on;
}

void Connection::Track(std::weak_ptr<CommandHolder> cursor) {
    std::erase_if(cursors_, [](const auto& c) { return c.expired(); });
    cursors_.push_back(std::move(cursor));
}

void Connection::Close() {
    if (!link_) return;
    for (const auto& cursor : cursors_)
        if (auto c = cursor.lock()) c->ReleaseCommand();
    cursors_.clear();
    // What was not committed is rolled back: explicitly, since a driver may refuse to
    // disconnect in a transaction. A link already lost has nothing to roll back.
    try {
        if (link_->EmTransacção()) link_->TransacçãoDesfaz();
    } catch (const kvl::Error&) {
    }
    link_.reset();
    session_->Fecha();
}

void BindConnection(py::module_& m, ConnectionClass& conn) {
    m.def(
        "connect",
        [](const std::string& text, bool autocommit, const py::kwargs& properties) {
            return std::make_shared<Connection>(text, properties, autocommit);
        },
        py::arg("connection_text") = "", py::arg("autocommit") = false,
        R"(Opens a connection: connect("DRIVER=SQLite3;Database=/tmp/x.sqlite"), or the
keywords driver, server, database, uid, pwd and dsn (values with ; { } = are enclosed in
braces). Commands run in a transaction until commit() or rollback() unless autocommit is
true. A refused connect raises OperationalError (InterfaceError for a missing driver or data
source) with the driver's sqlstate, native code and message.)");
    conn.def("commit", &Connection::Commit, "Commits the open transaction.")
        .def("rollback", &Connection::Rollback, "Rolls back the open transaction.")
        .def("close", &Connection::Close,
             "Closes the connection, rolling back what was not committed; its cursors and it "
             "are unusable afterwards.")
        .def_property("autocommit", &Connection::autocommit, &Connection::SetAutocommit,
                      "Whether each command commits on its own; turning it on commits.")
        .def("__enter__", [](py::object self) { return self; })
        .def(
            "__exit__",
            [](Connection& c, py::handle type, py::handle, py::handle) {
                // As the common modules do: committed on success, rolled back on an
                // exception; the connection stays open.
                if (type.is_none())
                    c.Commit();
                else
                    c.Rollback();
                return false;
            },
            "Commits when the block ends normally, rolls back when it raises; does not "
            "close.");
}

void Bind(py::module_& m) {
    ImportValueTypes();
    BindTypes(m);
    ConnectionClass conn(m, "Connection", "A connection opened by kvl2005.connect.");
    BindErrors(m, conn);
    BindConnection(m, conn);
    BindCursor(m, conn);
}

}  // namespace kvlpy::dbapi
