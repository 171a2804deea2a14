#pragma once
// Message boxes as Qt dialogs: QMessageBox with the buttons, icon and default button of the
// flags, the buttons captioned in the programs' language.

#include <optional>

#include "winhost/MessageBoxes.h"
#include "winhost/ScriptedAnswers.h"

namespace winhost {

class DialogMessageBoxes : public MessageBoxes {
  public:
    // With scripted answers each box is still shown, and answered from the script at once;
    // its message is printed as an unattended run prints it.
    explicit DialogMessageBoxes(std::optional<ScriptedAnswers> scripted = std::nullopt)
        : scripted_(std::move(scripted)) {}

  protected:
    Button Ask(const std::string& text, int flags, const std::string& title) override;

  private:
    std::optional<ScriptedAnswers> scripted_;
};

}  // namespace winhost
