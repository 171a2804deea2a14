#pragma once
// Questions to the ODBC driver manager that the library has no member for.

#include <string>
#include <string_view>

namespace kvlsql {

// Whether the driver manager knows a driver by this name (its odbcinst.ini entry).
bool DriverRegistered(std::string_view name);

// Tries the connection text and gives the driver manager's or driver's reason for
// refusing it ("" when it connects). The library keeps no reason for a failed open.
std::string ConnectFailure(const std::string& connectionText);

}  // namespace kvlsql
