#pragma once
// The symbol library opened through ODBC. Row sets are read whole when opened and
// each changed row is written back by the columns that identify it.

#include <memory>
#include <string>
#include <string_view>

#include "kvl/odbc/Api.h"
#include "logic/SymbolLibrary.h"

namespace setup {

namespace odbc {
class Connection;
}

// The connection text for the data-server type of the library, by default the
// SQLite ODBC driver on the file.
inline constexpr std::string_view kDefaultLibraryConnection = "DRIVER=SQLite3;Database=%FILE%";

// The template with "%FILE%" replaced by the library's host path; a path that
// would break the text's syntax is enclosed in braces.
std::string LibraryConnectionText(std::string_view connectionTemplate, std::string_view file);

class OdbcSymbolLibrary : public SymbolLibrary {
  public:
    // On this machine's driver manager unless another is given.
    explicit OdbcSymbolLibrary(const std::string& connectionText,
                               std::shared_ptr<kvl::odbc::Api> api = kvl::odbc::UnixOdbc());
    ~OdbcSymbolLibrary() override;

    // Commands of the form "Select ... From Table ...".
    std::unique_ptr<RowSet> OpenRecordset(const std::string& command) override;

  private:
    std::shared_ptr<odbc::Connection> connection_;
};

}  // namespace setup
