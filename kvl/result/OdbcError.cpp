#include "kvl/OdbcError.h"

namespace kvl {

namespace {

std::string Describe(odbc::Return rc, const std::vector<odbc::Diagnostic>& diagnostics) {
    if (diagnostics.empty()) return "ODBC call failed (" + std::to_string(rc) + ")";
    return diagnostics.front().state + ": " + diagnostics.front().message;
}

}  // namespace

OdbcError::OdbcError(odbc::Return rc, std::vector<odbc::Diagnostic> diagnostics)
    : Error(rc, Describe(rc, diagnostics)), diagnostics_(std::move(diagnostics)) {}

const std::string& OdbcError::state() const {
    static const std::string none;
    return diagnostics_.empty() ? none : diagnostics_.front().state;
}

int32_t OdbcError::native() const {
    return diagnostics_.empty() ? 0 : diagnostics_.front().native;
}

}  // namespace kvl
