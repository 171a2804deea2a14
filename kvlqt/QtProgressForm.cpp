#include "kvlqt/QtProgressForm.h"

namespace kvlqt {

void QtProgressForm::Msg(const kvl::Variant&, const kvl::Variant& b,
                         const std::optional<kvl::Variant>&) {
    if (!bar_ && !label_) throw kvl::Error(kvl::kObjectNotSet);
    const QString text = QString::fromStdString(b.ToString());
    if (bar_) {
        if (text.isEmpty()) {
            bar_->clearMessage();
        } else {
            bar_->showMessage(text);
        }
    }
    if (label_) label_->setText(text);
}

}  // namespace kvlqt
