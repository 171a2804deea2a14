#pragma once
// Where the platform's message boxes appear: as dialogs, or on standard output when the
// installer runs unattended.

#include <deque>
#include <string>

#include "InstallPlatform.h"

namespace zovlt {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Windows flags in, the chosen button's number out.
    virtual int Show(const std::string& text, int flags) = 0;
};

// QMessageBox with the buttons, icon and default button of the flags, titled with the
// program's name. For runs without a user (window tests, screenshots) the environment
// variable ZOVLT_ANSWERS may script the answers: a comma-separated list of ok, cancel, abort,
// retry, ignore, yes, no, taken one per box; a box beyond the list takes its default button.
class DialogMessageBoxes : public MessageBoxes {
  public:
    DialogMessageBoxes();
    int Show(const std::string& text, int flags) override;

  private:
    bool scripted_ = false;
    std::deque<MessageButton> answers_;
};

// Prints each message on one line (line breaks inside become blanks) and answers OK or Yes,
// else Cancel: a failed step is never retried.
class PrintedMessageBoxes : public MessageBoxes {
  public:
    int Show(const std::string& text, int flags) override;
};

}  // namespace zovlt
