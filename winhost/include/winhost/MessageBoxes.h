#pragma once
// Where the programs' message boxes appear: as dialogs (DialogMessageBoxes.h), or on standard
// output when a program runs unattended.

#include <string>

#include "winhost/MessageStyle.h"

namespace winhost {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Windows flags in, the chosen button out. Without a title of its own a box shows the
    // program's name. The message and the answer go to the run's log.
    Button Show(const std::string& text, int flags, const std::string& title = {});

  protected:
    virtual Button Ask(const std::string& text, int flags, const std::string& title) = 0;
};

// --unattended: each message is printed on one line and answered at once with the unattended
// answer (OK or Yes, else Cancel: a failed step is never retried).
class PrintedMessageBoxes : public MessageBoxes {
  protected:
    Button Ask(const std::string& text, int flags, const std::string& title) override;
};

}  // namespace winhost
