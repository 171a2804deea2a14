#pragma once
// The installer's one window. It only shows what the installation logic tells its view and
// forwards its events there; the controls keep their form-designer names as object names.

#include <QWidget>

#include "logic/Installer.h"
#include "winhost/WaitCursor.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zovlt {

class ClickLabel;

class frmMAIN : public QWidget, public InstallView {
    Q_OBJECT
  public:
    // programFolder: the Windows path of the folder that stands for the program's own.
    frmMAIN(InstallPlatform& platform, const std::string& programFolder);

    // How the installation ended; NotStarted while it has not run.
    Outcome Result() const { return installer_.Result(); }

    // InstallView
    void SetProgressCaption(const std::string& caption) override;
    void SetProgressVisible(bool visible) override;
    void SetAcceptEnabled(bool enabled) override;
    void SetInstallEnabled(bool enabled) override;
    void SetInstallVisible(bool visible) override;
    void SetCloseEnabled(bool enabled) override;
    void SetCloseCaption(const std::string& caption) override;
    void SetBusy(bool busy) override;
    void Yield() override;

  protected:
    void closeEvent(QCloseEvent* event) override;  // Form_QueryUnload

  private:
    void Form_Load();
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Image1_Click();
    void Image2_Click();
    void Label3_Click();
    void Label4_Click();

    void CreateControls();
    void LayOut();
    void Connect();

    Installer installer_;
    winhost::WaitCursor cursor_;

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblInstalacao = nullptr;  // object name "lblInstalação"
    QLabel* Label2 = nullptr;
    ClickLabel* Label3 = nullptr;
    ClickLabel* Label4 = nullptr;
    ClickLabel* Image1 = nullptr;
    ClickLabel* Image2 = nullptr;
};

}  // namespace zovlt
