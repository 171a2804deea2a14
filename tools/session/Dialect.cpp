#include "Dialect.h"

#include <stdexcept>

#include "MessagesOff.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsession {

std::string FirstValue(kvl::kvlSERV& s, const std::string& sql) {
    auto r = s.Exec(sql);
    return r && !r->erro && r->TemLinhas() ? r->Col(1).ToString() : "";
}

Dialect DialectOf(kvl::kvlSERV& s) {
    MessagesOff quiet(s);
    // PostgreSQL is asked first: there a failed statement would end the transaction under way.
    if (FirstValue(s, "SELECT version()").starts_with("PostgreSQL")) return Dialect::PostgreSQL;
    if (!FirstValue(s, "SELECT sqlite_version()").empty()) return Dialect::SQLite;
    throw std::runtime_error("the database is neither SQLite nor PostgreSQL");
}

}  // namespace kvlsession
