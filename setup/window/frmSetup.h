#pragma once
// The installer's main window. Its behaviour lives in SetupLogic; the window shows
// what the logic says and passes the user's actions on.

#include <QWidget>

#include "logic/SetupLogic.h"
#include "logic/SetupView.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace setup {

class ElidedLabel;

class frmSetup : public QWidget, public SetupView {
    Q_OBJECT

  public:
    explicit frmSetup(SetupPlatform& platform, QWidget* parent = nullptr);

    SetupLogic& logic() { return logic_; }

    // SetupView
    void AddItem(const std::string& label) override;
    void SelectItem(int index) override;
    std::string SelectedItemText() const override;
    void ShowInfo(const std::string& text) override;
    void ShowLocation(const std::string& text) override;
    void SetBusy(bool busy) override;
    WindowHandle Handle() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildHeader();
    QWidget* BuildChoice();
    QLayout* BuildButtons();

    void tvOptions_NodeClick(QTreeWidgetItem* node);
    void txtInfo_GotFocus();
    void cmdBrowse_Click();
    void cmdHelp_Click();
    void cmdInstall_Click();
    void cmdCancel_Click();

    SetupLogic logic_;
    QTreeWidget* tvOptions;
    QPlainTextEdit* txtInfo;
    ElidedLabel* lblLocation;
};

}  // namespace setup
