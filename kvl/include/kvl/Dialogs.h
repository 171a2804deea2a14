#pragma once
// The library's modal questions. Graphical clients install their own; the default
// asks on the terminal, or answers at once when nobody can be asked.

#include <cstdint>
#include <memory>
#include <string_view>

#include "kvl/Export.h"

namespace kvl {

// Message-box styles and answers, in the classic numbering.
enum MsgBoxStyle : int32_t {
    kYesNo = 4,
    kAbortRetryIgnore = 2,
    kIconQuestion = 32,
    kIconError = 16,
    kDefaultButton2 = 256,
};
enum MsgBoxAnswer : int32_t { kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

class KVL_API Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows text under title with the buttons, icon and default of style; returns the
    // chosen button.
    virtual int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) = 0;
};

// Asks on the terminal when standard input and standard error are terminals;
// otherwise writes the message to standard error and answers Ignore or No at once.
KVL_API std::shared_ptr<Dialogs> TerminalDialogs();

}  // namespace kvl
