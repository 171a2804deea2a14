#pragma once
// The modal questions of the Linux layer: message boxes and the folder chooser.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>

#include "../logic/SetupPlatform.h"

namespace setup {

class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual int MsgBox(const std::string& text, int flags, const std::string& title) = 0;
    // The chosen host folder, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> ChooseFolder(WindowHandle owner) = 0;
};

// The answer given without asking: OK or Yes to a confirmation, Cancel (or Abort
// where there is no Cancel) to a failed step, never Retry.
int UnattendedAnswer(int flags);

// Prints a text to standard output, CR LF ending a line as a newline does.
void PrintLines(const std::string& text);
// Prints the title and then the text.
void PrintMessage(const std::string& title, const std::string& text);

// --unattended: nothing is shown; every message is printed and answered at once.
class ConsolePrompts : public Prompts {
  public:
    int MsgBox(const std::string& text, int flags, const std::string& title) override;
    std::optional<std::filesystem::path> ChooseFolder(WindowHandle) override { return {}; }
};

// The environment variable that scripts message-box answers for unattended tests of
// the window: button numbers separated by commas, used in order.
inline constexpr const char* kScriptedAnswersVariable = "SYMBOLOGY_SETUP_ANSWERS";

// Message boxes and folder dialogs of Qt, unless answers are scripted: then each
// message is printed and answered from the script, and from UnattendedAnswer once
// the script runs out.
class QtPrompts : public Prompts {
  public:
    QtPrompts();
    int MsgBox(const std::string& text, int flags, const std::string& title) override;
    std::optional<std::filesystem::path> ChooseFolder(WindowHandle owner) override;

  private:
    std::optional<std::deque<int>> scripted_;
};

}  // namespace setup
