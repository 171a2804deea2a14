#pragma once
// What the reliability benchmarks run: a lost link and its recovery, and the process's and
// the server's resources counted before and after a long run.

#include <cstdint>
#include <memory>
#include <string>

#include "kvl/Dialogs.h"
#include "kvl/kvlSERV.h"

namespace kvlrel {

// Answers the lost-link question Yes and every other dialog Ignore, counting the questions.
class ReconnectDialogs : public kvl::Dialogs {
  public:
    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override;
    int32_t questions = 0;  // lost-link questions asked
};

// The text that names a session's backends in pg_stat_activity, so they are counted apart
// from the other sessions on the server.
std::string ApplicationNameSetting(const std::string& name);

// The backends of the server whose application_name is name, counted from another session.
int32_t Backends(kvl::kvlSERV& observer, const std::string& name);

// One value of a one-row query; "" and the session's erro set when it failed.
std::string ValueOf(kvl::kvlSERV& session, const std::string& sql);

// One lost link: session starts reading the rows of a query, killer terminates its backend,
// the next fetch fails, the question is answered Yes (session's dialogs must be
// ReconnectDialogs) and the next query answers. Gives "" when the cycle recovered, else what
// went wrong. The session's rows must come from the server one at a time
// (UseDeclareFetch=1;Fetch=1), so that the read is still going on when the backend ends.
std::string LostLinkCycle(kvl::kvlSERV& session, kvl::kvlSERV& killer);

// The process's open file descriptors and resident memory.
int32_t OpenFileDescriptors();
int64_t ResidentBytes();

}  // namespace kvlrel
