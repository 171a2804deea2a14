#pragma once
// Opening the session the connection options name.

#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

#include "ConnectionOptions.h"
#include "kvl/odbc/Api.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsession {

// Opens the session; without connection options, the embedded default database (created
// first when missing). What goes wrong is written to err, each message after the name of
// the program; on failure the reason the driver gave for that one attempt, and nothing is
// given back. api is the driver manager the session and the question whether the default
// database's driver is registered go through; prepare, when given, sets what else the
// session needs before it opens (its log, the tables of a client program, its dialogs).
std::shared_ptr<kvl::kvlSERV> OpenSession(
    const ConnectionOptions& o, std::string_view program, std::ostream& err,
    const std::shared_ptr<kvl::odbc::Api>& api = kvl::odbc::UnixOdbc(),
    const std::function<void(kvl::kvlSERV&)>& prepare = {});

}  // namespace kvlsession
