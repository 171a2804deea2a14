#pragma once
// The symbol library opened through ODBC. Row sets are read whole when opened and each changed
// row is written back by the columns that identify it, each value bound with its column's type.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "kvl/odbc/Api.h"
#include "logic/SymbolLibrary.h"

namespace setup {

namespace odbc {
class Connection;
}

// A changed row that is no longer in its table when it is written back (as the database
// engine of the library numbers it).
inline constexpr int32_t kRowNotFoundAgain = 3167;

// The connection text for the data-server type of the library, by default the SQLite ODBC
// driver on the file. The driver reads no braces, so the file goes as a "file:" URI, which it
// reads whatever characters the folder names hold.
inline constexpr std::string_view kDefaultLibraryConnection = "DRIVER=SQLite3;Database=%URI%";

// The template with "%URI%" replaced by the library's host path as a "file:" URI (every byte
// but letters, digits, "-._~/" percent-encoded) and "%FILE%" by the path itself, enclosed in
// braces when it would break the text's syntax.
std::string LibraryConnectionText(std::string_view connectionTemplate, std::string_view file);

class OdbcSymbolLibrary : public SymbolLibrary {
  public:
    // name: how failures name the library (its Windows path). On this machine's driver
    // manager unless another is given.
    OdbcSymbolLibrary(const std::string& connectionText, const std::string& name,
                      std::shared_ptr<kvl::odbc::Api> api = kvl::odbc::UnixOdbc());
    ~OdbcSymbolLibrary() override;

    // Commands of the form "Select ... From Table ...".
    std::unique_ptr<RowSet> OpenRecordset(const std::string& command) override;

  private:
    std::shared_ptr<odbc::Connection> connection_;
};

}  // namespace setup
