#include "Session.h"

#include <algorithm>
#include <stdexcept>

#include "OdbcProbe.h"
#include "SampleDatabase.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

void SetProperties(kvl::kvlSERV& s, const Options& o) {
    s.DSN = o.dsn.value_or("");
    s.Driver = o.driver.value_or("");
    s.Server = o.server.value_or("");
    s.DB = o.db.value_or("");
    s.UID = o.uid.value_or("");
    s.PWD = o.pwd.value_or("");
}

// Points the session at the default database, creating it first when missing.
bool UseDefaultDatabase(kvl::kvlSERV& s, const std::shared_ptr<kvl::odbc::Api>& api,
                        std::ostream& err) {
    if (!DriverRegistered(api, kSampleDriver)) {
        err << "kvlsql: the ODBC driver \"" << kSampleDriver
            << "\" is not registered with the driver manager (odbcinst.ini), so the default "
               "SQLite database cannot be opened. Install the SQLite ODBC driver (Debian: "
               "libsqliteodbc) or name a database with the connection options (see --help).\n";
        return false;
    }
    std::filesystem::path file = DefaultDatabasePath();
    try {
        EnsureSampleDatabase(file);
    } catch (const std::exception& e) {
        err << "kvlsql: cannot create the default database " << file.string() << ": " << e.what()
            << '\n';
        return false;
    }
    try {
        AddMissingCatalogViews(file);
    } catch (const std::exception& e) {
        // The database still serves; only what reads the catalog goes without.
        err << "kvlsql: cannot add the catalog views to the default database " << file.string()
            << " (\\d needs them): " << e.what() << '\n';
    }
    try {
        AddMissingApplicationTables(file);
    } catch (const std::exception& e) {
        // Only the rights and window positions of client programs go without.
        err << "kvlsql: cannot add the permission and position tables to the default database "
            << file.string() << ": " << e.what() << '\n';
    }
    s.Driver = kSampleDriver;
    s.DB = file.string();
    return true;
}

}  // namespace

std::shared_ptr<kvl::kvlSERV> OpenSession(const Options& o, std::ostream& err,
                                          const std::shared_ptr<kvl::odbc::Api>& api,
                                          const std::function<void(kvl::kvlSERV&)>& prepare) {
    auto s = kvl::kvlSERV::Create(api);
    s->Log = o.log;
    if (o.stack) s->lStackBase = *o.stack;
    if (o.UsesDefaultDatabase()) {
        if (!UseDefaultDatabase(*s, api, err)) return nullptr;
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
    err << "kvlsql: cannot open the session: " << OpenFailure(*api, *s) << '\n';
    s->Fecha();
    return nullptr;
}

}  // namespace kvlsql
