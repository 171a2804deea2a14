#pragma once
// A scripted platform, CAD application and window for the installation logic: every call is
// logged in order, failures and message-box answers are queued by the test.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "InstallPlatform.h"
#include "InstallView.h"

namespace zovlt::test {

// Failures queued per operation key; each call of that operation throws the next one.
class FailureQueue {
  public:
    void Add(const std::string& key, int number, int times = 1);
    void ThrowIfQueued(const std::string& key);

  private:
    std::map<std::string, std::deque<int>> pending_;
};

struct Box {
    std::string text;
    int flags;
};

struct FakeCadState {
    std::string supportPath = "C:\\CAD\\support;C:\\CAD\\fonts";
    std::vector<std::string> groups = {"ACAD"};
    int32_t menuBarCount = 2;
    int32_t menuBarCountAfterLoad = -1;  // >= 0: the bar changes while the file loads
    bool released = false;
    FailureQueue failures;
    std::vector<std::string> log;
};

class FakeCad : public CadApplication {
  public:
    explicit FakeCad(FakeCadState& state) : s_(state) {}
    ~FakeCad() override { s_.released = true; }

    void SetVisible(bool visible) override;
    std::string SupportPath() override;
    void SetSupportPath(const std::string& path) override;
    int32_t MenuGroupCount() override;
    std::string MenuGroupName(int32_t index) override;
    void UnloadMenuGroup(int32_t index) override;
    std::unique_ptr<CadMenuGroup> LoadMenuGroup(const std::string& file) override;
    int32_t MenuBarCount() override;
    void CloseDocument(int32_t index, bool save) override;
    void Quit() override;

  private:
    void Call(const std::string& entry);
    FakeCadState& s_;
};

class FakePlatform : public InstallPlatform {
  public:
    std::set<std::string> existing;                            // paths PathOK finds
    std::map<std::string, std::vector<std::string>> listings;  // pattern -> names
    std::deque<int> answers;  // message-box answers; OK when none is left
    std::vector<Box> boxes;
    std::vector<std::string> log;
    FailureQueue failures;
    FakeCadState cad;

    bool PathOK(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& pattern) override;
    void DeleteFile(const std::string& path) override;
    void CopyFile(const std::string& source, const std::string& destination) override;
    void StartHidden(const std::string& commandLine) override;
    void OpenLink(const std::string& url) override;
    int MessageBox(const std::string& text, int flags) override;
    std::unique_ptr<CadApplication> CreateObject(const std::string& className) override;

    // Log entries that start with prefix, in order.
    std::vector<std::string> Logged(const std::string& prefix) const;

  private:
    void Record(const std::string& entry);
};

struct FakeView : InstallView {
    std::string caption;
    std::vector<std::string> captions;
    bool progressVisible = false;
    bool acceptEnabled = true;
    bool installEnabled = false;
    bool installVisible = true;
    bool closeEnabled = true;
    std::string closeCaption = "Cancelar";
    bool busy = false;
    std::function<void()> onYield;  // runs at every yield, as window events would

    void SetProgressCaption(const std::string& text) override;
    void SetProgressVisible(bool visible) override { progressVisible = visible; }
    void SetAcceptEnabled(bool enabled) override { acceptEnabled = enabled; }
    void SetInstallEnabled(bool enabled) override { installEnabled = enabled; }
    void SetInstallVisible(bool visible) override { installVisible = visible; }
    void SetCloseEnabled(bool enabled) override { closeEnabled = enabled; }
    void SetCloseCaption(const std::string& text) override { closeCaption = text; }
    void SetBusy(bool value) override { busy = value; }
    void Yield() override {
        if (onYield) onYield();
    }
};

}  // namespace zovlt::test
