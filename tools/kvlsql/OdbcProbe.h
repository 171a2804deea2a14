#pragma once
// Questions to the driver manager that the session object has no member for, asked
// through the same seam the session uses.

#include <string>
#include <string_view>

#include "kvl/odbc/Api.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

// Whether the driver manager knows a driver by this name (its odbcinst.ini entry).
bool DriverRegistered(const std::shared_ptr<kvl::odbc::Api>& api, std::string_view name);

// Why the session's last open failed, read from the attempt itself (never by connecting
// again): every diagnostic record of the connection the driver refused, one a line.
// Call it before Fecha, which frees that connection.
std::string OpenFailure(kvl::odbc::Api& api, const kvl::kvlSERV& s);

}  // namespace kvlsql
