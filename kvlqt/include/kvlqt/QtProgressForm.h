#pragma once
// A status bar, or any label, as the progress form that shows the library's messages.

#include <QLabel>
#include <QPointer>
#include <QStatusBar>

#include "kvl/Export.h"
#include "kvl/ClientObjects.h"

namespace kvlqt {

class KVL_API QtProgressForm : public kvl::ProgressForm {
  public:
    explicit QtProgressForm(QStatusBar* bar) : bar_(bar) {}
    explicit QtProgressForm(QLabel* label) : label_(label) {}

    // Shows the second argument; an empty one clears the message.
    void Msg(const kvl::Variant& a, const kvl::Variant& b,
             const std::optional<kvl::Variant>& c) override;

  private:
    QPointer<QStatusBar> bar_;
    QPointer<QLabel> label_;
};

}  // namespace kvlqt
