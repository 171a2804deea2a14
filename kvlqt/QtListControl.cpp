#include "kvlqt/QtListControl.h"

namespace kvlqt {

void QtListControl::CheckAlive() const {
    if (!combo_ && !list_) throw kvl::Error(kvl::kObjectNotSet);
}

void QtListControl::Clear() {
    CheckAlive();
    if (combo_) combo_->clear();
    if (list_) list_->clear();
}

void QtListControl::AddItem(const std::string& Item) {
    CheckAlive();
    const QString text = QString::fromStdString(Item);
    if (combo_) combo_->addItem(text);
    if (list_) list_->addItem(text);
}

kvl::Variant ListOf(QComboBox* combo) {
    return kvl::Variant(std::shared_ptr<kvl::Object>(std::make_shared<QtListControl>(combo)));
}

kvl::Variant ListOf(QListWidget* list) {
    return kvl::Variant(std::shared_ptr<kvl::Object>(std::make_shared<QtListControl>(list)));
}

}  // namespace kvlqt
