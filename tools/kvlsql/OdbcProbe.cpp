#include "OdbcProbe.h"

#include <sql.h>
#include <sqlext.h>

namespace kvlsql {

namespace {

// An ODBC 3 environment, freed with its connection when done.
struct Environment {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;

    Environment() {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return;
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~Environment() {
        if (dbc) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
};

// Every diagnostic record of the handle, one a line: the driver manager's warning often
// comes first and the driver's own reason after it.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    SQLCHAR state[6] = {};
    SQLCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQL_SUCCEEDED(
             SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length));
         ++i) {
        std::string line =
            std::string(reinterpret_cast<char*>(state)) + ": " + reinterpret_cast<char*>(message);
        // Some drivers end their messages with a line break.
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        text += (text.empty() ? "" : "\n") + line;
    }
    return text.empty() ? "no reason given" : text;
}

}  // namespace

bool DriverRegistered(std::string_view name) {
    Environment e;
    if (!e.env) return false;
    SQLCHAR description[256];
    SQLCHAR attributes[1024];
    SQLSMALLINT descriptionLength = 0, attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDrivers(e.env, direction, description, sizeof description,
                                    &descriptionLength, attributes, sizeof attributes,
                                    &attributesLength))) {
        if (name == reinterpret_cast<char*>(description)) return true;
        direction = SQL_FETCH_NEXT;
    }
    return false;
}

std::string ConnectFailure(const std::string& connectionText) {
    Environment e;
    if (!e.env) return "the ODBC environment could not be allocated";
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, e.env, &e.dbc))) {
        e.dbc = SQL_NULL_HDBC;
        return Diagnostics(SQL_HANDLE_ENV, e.env);
    }
    std::string text = connectionText;
    SQLRETURN rc = SQLDriverConnect(e.dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                    SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) return Diagnostics(SQL_HANDLE_DBC, e.dbc);
    SQLDisconnect(e.dbc);
    return "";
}

}  // namespace kvlsql
