#include "SessionDialogs.h"

#include "kvl/kvlSERV.h"

namespace kvlsql {

int32_t SessionDialogs::Pergunta(std::string_view title, std::string_view text, int32_t style) {
    if ((style & 0xF) != kvl::kAbortRetryIgnore || !session_)
        return asker_->Pergunta(title, text, style);
    messages_.DriverError(session_->ErroEstado(), session_->ErroD);
    if (!ask_) return kvl::kIgnore;
    int32_t answer = asker_->Pergunta(
        "kvlsql", "Abort ends the session; Retry runs the command again; Ignore goes on.", style);
    aborted_ = answer == kvl::kAbort;
    return answer;
}

}  // namespace kvlsql
