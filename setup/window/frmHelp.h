#pragma once
// The help window: a fixed text and an OK button.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace setup {

class frmHelp : public QDialog {
    Q_OBJECT

  public:
    explicit frmHelp(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void txtAjuda_GotFocus();
    void cmdOK_Click();

    QPlainTextEdit* txtAjuda;
    QPushButton* cmdOK;
};

}  // namespace setup
