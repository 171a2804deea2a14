#pragma once
// kvlsql's answers to the library's questions. A failed command is told as an error line
// and answered Ignore, so the next command (or the prompt) follows, as in psql; with --ask
// the user answers Abort, Retry or Ignore. Every other question (the offer to re-establish
// a lost link) is asked as the library's terminal dialogs ask it.

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "Messages.h"
#include "kvl/Dialogs.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

class SessionDialogs final : public kvl::Dialogs {
  public:
    // messages: where failures are told; ask: whether to ask Abort/Retry/Ignore; asker: who
    // asks the questions put to the user.
    SessionDialogs(Messages& messages, bool ask,
                   std::shared_ptr<kvl::Dialogs> asker = kvl::TerminalDialogs())
        : messages_(messages), ask_(ask), asker_(std::move(asker)) {}

    // The session whose error properties a failure is read from.
    void Watch(const kvl::kvlSERV& session) { session_ = &session; }

    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override;

    // Whether the user answered Abort since the last call.
    bool TakeAbort() { return std::exchange(aborted_, false); }

  private:
    Messages& messages_;
    bool ask_;
    std::shared_ptr<kvl::Dialogs> asker_;
    const kvl::kvlSERV* session_ = nullptr;
    bool aborted_ = false;
};

}  // namespace kvlsql
