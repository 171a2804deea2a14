#pragma once
// Opening the session the command line names.

#include <functional>
#include <memory>
#include <ostream>

#include "Options.h"
#include "kvl/odbc/Api.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

// Opens the session; without connection options, the embedded default database
// (created first when missing). On failure writes the reason to err and gives nothing.
// api is the driver manager the session and every question about drivers go through;
// prepare, when given, sets what else the session needs before it opens (the tables of a
// client program, its dialogs).
std::shared_ptr<kvl::kvlSERV> OpenSession(
    const Options& o, std::ostream& err,
    const std::shared_ptr<kvl::odbc::Api>& api = kvl::odbc::UnixOdbc(),
    const std::function<void(kvl::kvlSERV&)>& prepare = {});

}  // namespace kvlsql
