#include "Session.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "SampleDatabase.h"
#include "kvl/kvlSERV.h"
#include "kvl/odbc/Handles.h"

namespace kvlsession {

namespace {

// Whether the driver manager knows a driver by this name (its odbcinst.ini entry).
bool DriverRegistered(const std::shared_ptr<kvl::odbc::Api>& api, std::string_view name) {
    kvl::odbc::Environment env(api);
    std::vector<std::string> names;
    if (!env.get() || !kvl::odbc::Succeeded(api->Drivers(env.get(), names))) return false;
    return std::ranges::find(names, name) != names.end();
}

void SetProperties(kvl::kvlSERV& s, const ConnectionOptions& o) {
    s.DSN = o.dsn.value_or("");
    s.Driver = o.driver.value_or("");
    s.Server = o.server.value_or("");
    s.DB = o.db.value_or("");
    s.UID = o.uid.value_or("");
    s.PWD = o.pwd.value_or("");
}

// Points the session at the default database, creating it first when missing.
bool UseDefaultDatabase(kvl::kvlSERV& s, const std::shared_ptr<kvl::odbc::Api>& api,
                        std::string_view program, std::ostream& err) {
    if (!DriverRegistered(api, kSampleDriver)) {
        err << program << ": the ODBC driver \"" << kSampleDriver
            << "\" is not registered with the driver manager (odbcinst.ini), so the default "
               "SQLite database cannot be opened. Install the SQLite ODBC driver (Debian: "
               "libsqliteodbc) or name a database with the connection options (see --help).\n";
        return false;
    }
    std::filesystem::path file = DefaultDatabasePath();
    try {
        EnsureSampleDatabase(file);
    } catch (const std::exception& e) {
        err << program << ": cannot create the default database " << file.string() << ": "
            << e.what() << '\n';
        return false;
    }
    try {
        AddMissingCatalogViews(file);
    } catch (const std::exception& e) {
        // The database still serves; only what reads the catalog goes without.
        err << program << ": cannot add the catalog views to the default database " << file.string()
            << " (\\d needs them): " << e.what() << '\n';
    }
    try {
        AddMissingApplicationTables(file);
    } catch (const std::exception& e) {
        // Only the rights, window positions and field titles of client programs go without.
        err << program << ": cannot add the permission, position and field-title tables to the "
            << "default database " << file.string() << ": " << e.what() << '\n';
    }
    s.Driver = kSampleDriver;
    s.DB = file.string();
    return true;
}

// Why the open was refused, as the session kept it from that one attempt.
std::string Refusal(const kvl::kvlSERV& s) {
    if (s.hEnv == 0) return "the driver manager could not allocate an environment";
    if (s.ErroEstado().empty() && s.ErroD.empty()) return "the driver gave no reason";
    std::string reason = s.ErroEstado() + ": " + s.ErroD;
    // Some drivers end their messages with a line break.
    while (reason.ends_with('\n') || reason.ends_with('\r')) reason.pop_back();
    return reason;
}

}  // namespace

std::shared_ptr<kvl::kvlSERV> OpenSession(const ConnectionOptions& o, std::string_view program,
                                          std::ostream& err,
                                          const std::shared_ptr<kvl::odbc::Api>& api,
                                          const std::function<void(kvl::kvlSERV&)>& prepare) {
    auto s = kvl::kvlSERV::Create(api);
    if (o.stack) s->lStackBase = *o.stack;
    if (o.UsesDefaultDatabase()) {
        if (!UseDefaultDatabase(*s, api, program, err)) return nullptr;
    } else {
        SetProperties(*s, o);
    }
    if (prepare) prepare(*s);
    if (o.connect) {
        s->Abre(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false,
                *o.connect);
    } else {
        s->Abre();
    }
    if (s->Aberto) return s;
    err << program << ": cannot open the session: " << Refusal(*s) << '\n';
    s->Fecha();
    return nullptr;
}

}  // namespace kvlsession
