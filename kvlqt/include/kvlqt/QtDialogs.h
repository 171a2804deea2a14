#pragma once
// The library's questions as QMessageBox dialogs: buttons, icon and default button from the
// message-box style, the chosen button's number back.

#include <memory>
#include <optional>
#include <string_view>

#include "kvl/Export.h"
#include "kvl/Dialogs.h"

namespace winhost {
class DialogMessageBoxes;
}

namespace kvlqt {

class KVL_API QtDialogs : public kvl::Dialogs {
  public:
    // answers: button names separated by commas ("retry,ignore"), one taken per box, which
    // is then still shown and answered at once; for runs without a user.
    explicit QtDialogs(std::optional<std::string_view> answers = std::nullopt);
    ~QtDialogs() override;
    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override;

  private:
    std::unique_ptr<winhost::DialogMessageBoxes> boxes_;
};

}  // namespace kvlqt
