#pragma once
// An ODBC failure thrown by the typed reading, which never goes through the session's error
// check or dialogs: the driver's diagnostics as they were when the call failed.

#include <cstdint>
#include <string>
#include <vector>

#include "kvl/Error.h"
#include "kvl/Export.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class KVL_API OdbcError : public Error {
  public:
    // The failed call's return code is the error's number, as ErroN holds it for the text
    // reading; the description is the first record's SQLSTATE and message.
    OdbcError(odbc::Return rc, std::vector<odbc::Diagnostic> diagnostics);

    std::vector<odbc::Diagnostic> diagnostics() const { return diagnostics_; }
    // The SQLSTATE of the first record ("" without one).
    const std::string& state() const;
    int32_t native() const;

  private:
    std::vector<odbc::Diagnostic> diagnostics_;
};

}  // namespace kvl
