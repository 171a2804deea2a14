#pragma once
// The scripted driver manager with a failure armed for a later call than the next one:
// the second connect of a session, the second fetch of a result.

#include <string>
#include <vector>

#include "Scripted.h"

namespace kvltest {

class LaterFailure : public ScriptedOdbc {
  public:
    // Call number n (from 1) of `call` ("DriverConnect" or "Fetch") fails with records.
    void FailCall(std::string call, size_t n, std::vector<Diagnostic> records) {
        call_ = std::move(call);
        n_ = n;
        records_ = std::move(records);
    }
    Return DriverConnect(Handle conn, std::string_view text, uint16_t completion) override {
        Arm("DriverConnect");
        return ScriptedOdbc::DriverConnect(conn, text, completion);
    }
    Return Fetch(Handle stmt) override {
        Arm("Fetch");
        return ScriptedOdbc::Fetch(stmt);
    }

  private:
    void Arm(const std::string& call) {
        if (call == call_ && Count(call) + 1 == n_) Fail(call, records_);
    }

    std::string call_;
    size_t n_ = 0;
    std::vector<Diagnostic> records_;
};

}  // namespace kvltest
