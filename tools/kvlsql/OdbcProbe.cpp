#include "OdbcProbe.h"

#include <algorithm>
#include <vector>

#include "kvl/kvlSERV.h"
#include "kvl/odbc/Handles.h"

namespace kvlsql {

namespace {

std::string Describe(const std::vector<kvl::odbc::Diagnostic>& records) {
    std::string text;
    for (const kvl::odbc::Diagnostic& d : records) {
        std::string line = d.state + ": " + d.message;
        // Some drivers end their messages with a line break.
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        text += (text.empty() ? "" : "\n  ") + line;
    }
    return text.empty() ? "the driver gave no reason" : text;
}

}  // namespace

bool DriverRegistered(const std::shared_ptr<kvl::odbc::Api>& api, std::string_view name) {
    kvl::odbc::Environment env(api);
    std::vector<std::string> names;
    if (!env.get() || !kvl::odbc::Succeeded(api->Drivers(env.get(), names))) return false;
    return std::ranges::find(names, name) != names.end();
}

std::string OpenFailure(kvl::odbc::Api& api, const kvl::kvlSERV& s) {
    if (s.hEnv == 0) return "the driver manager could not allocate an environment";
    // The open connects the base slots in turn; the first without a statement is the one
    // whose connect failed (or, without a connection, whose allocation did).
    for (int16_t i = 1; i <= s.StackBase(); ++i) {
        bool busy = false;
        kvl::Handle conn = 0, stmt = 0;
        s.StackItemGet(i, busy, &conn, &stmt);
        if (stmt == 0) return Describe(kvl::odbc::Diagnostics(api, s.hEnv, conn, 0));
    }
    return "the driver gave no reason";
}

}  // namespace kvlsql
