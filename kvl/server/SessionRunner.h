#pragma once
// The services' runner over a session: each command goes through the session's execution
// loop and error check, and comes back as rows.

#include "../services/Runner.h"
#include "kvl/odbc/Api.h"

namespace kvl {

class kvlSERV;

class SessionRunner : public services::Runner {
  public:
    explicit SessionRunner(kvlSERV& session) : s_(session) {}
    services::Answer Query(const std::string& command, size_t maxRows) override;
    services::Answer QueryAfterPending(const std::string& command, size_t maxRows) override;
    bool RunTogether(const std::vector<std::string>& commands) override;
    std::string Literal(std::string_view value) const override;

  private:
    kvlSERV& s_;
    struct Failure {
        std::string text;
        odbc::Diagnostic reason;
    };
    // One attempt of RunTogether on a slot, rolled back when a command fails.
    odbc::Return Attempt(const std::vector<std::string>& commands, Handle conn, Handle stmt,
                         Failure& failure);
};

}  // namespace kvl
