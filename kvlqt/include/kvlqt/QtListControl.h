#pragma once
// A QComboBox or a QListWidget as the list control the library empties and fills.

#include <QComboBox>
#include <QListWidget>
#include <QPointer>

#include "kvl/Export.h"
#include "kvl/ClientObjects.h"

namespace kvlqt {

class KVL_API QtListControl : public kvl::ListControl {
  public:
    explicit QtListControl(QComboBox* combo) : combo_(combo) {}
    explicit QtListControl(QListWidget* list) : list_(list) {}

    void Clear() override;
    void AddItem(const std::string& Item) override;

  private:
    // Error 91 once the widget has been destroyed.
    void CheckAlive() const;

    QPointer<QComboBox> combo_;
    QPointer<QListWidget> list_;
};

// A list control as the variant ListaEnche takes.
KVL_API kvl::Variant ListOf(QComboBox* combo);
KVL_API kvl::Variant ListOf(QListWidget* list);

}  // namespace kvlqt
