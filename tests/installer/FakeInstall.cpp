#include "FakeInstall.h"

#include "kvl/Error.h"

namespace zovlt::test {

void FailureQueue::Add(const std::string& key, int number, int times) {
    for (int i = 0; i < times; ++i) pending_[key].push_back(number);
}

void FailureQueue::ThrowIfQueued(const std::string& key) {
    auto found = pending_.find(key);
    if (found == pending_.end() || found->second.empty()) return;
    const int number = found->second.front();
    found->second.pop_front();
    throw kvl::Error(number);
}

namespace {

class FakeGroup : public CadMenuGroup {
  public:
    FakeGroup(FakeCadState& state, std::string name) : s_(state), name_(std::move(name)) {}
    void InsertMenuInMenuBar(int32_t menu, int32_t position) override {
        s_.log.push_back("InsertInMenuBar " + name_ + " " + std::to_string(menu) + " " +
                         std::to_string(position));
        s_.failures.ThrowIfQueued("InsertInMenuBar");
    }

  private:
    FakeCadState& s_;
    std::string name_;
};

}  // namespace

void FakeCad::Call(const std::string& entry) {
    s_.log.push_back(entry);
    s_.failures.ThrowIfQueued(entry.substr(0, entry.find(' ')));
}

void FakeCad::SetVisible(bool visible) {
    Call(std::string("Visible ") + (visible ? "True" : "False"));
}

std::string FakeCad::SupportPath() {
    Call("SupportPath");
    return s_.supportPath;
}

void FakeCad::SetSupportPath(const std::string& path) {
    Call("SetSupportPath " + path);
    s_.supportPath = path;
}

int32_t FakeCad::MenuGroupCount() {
    Call("MenuGroupCount");
    return static_cast<int32_t>(s_.groups.size());
}

std::string FakeCad::MenuGroupName(int32_t index) {
    Call("MenuGroupName " + std::to_string(index));
    return s_.groups.at(static_cast<size_t>(index));
}

void FakeCad::UnloadMenuGroup(int32_t index) {
    Call("Unload " + std::to_string(index));
    s_.groups.erase(s_.groups.begin() + index);
}

std::unique_ptr<CadMenuGroup> FakeCad::LoadMenuGroup(const std::string& file) {
    Call("Load " + file);
    s_.groups.push_back("ZOV_LT");
    if (s_.menuBarCountAfterLoad >= 0) s_.menuBarCount = s_.menuBarCountAfterLoad;
    return std::make_unique<FakeGroup>(s_, "ZOV_LT");
}

int32_t FakeCad::MenuBarCount() {
    Call("MenuBarCount");
    return s_.menuBarCount;
}

void FakeCad::CloseDocument(int32_t index, bool save) {
    Call("Close " + std::to_string(index) + (save ? " True" : " False"));
}

void FakeCad::Quit() {
    Call("Quit");
}

void FakePlatform::Record(const std::string& entry) {
    log.push_back(entry);
    failures.ThrowIfQueued(entry);
}

bool FakePlatform::PathOK(const std::string& path) {
    return existing.count(path) > 0;
}

void FakePlatform::CreateFolder(const std::string& path) {
    Record("mkdir " + path);
    existing.insert(path);
}

std::vector<std::string> FakePlatform::ListFiles(const std::string& pattern) {
    Record("list " + pattern);
    return listings[pattern];
}

void FakePlatform::DeleteFile(const std::string& path) {
    Record("delete " + path);
}

void FakePlatform::CopyFile(const std::string& source, const std::string& destination) {
    Record("copy " + source + " > " + destination);
}

void FakePlatform::StartHidden(const std::string& commandLine) {
    Record("start " + commandLine);
}

void FakePlatform::OpenLink(const std::string& url) {
    Record("link " + url);
}

int FakePlatform::MessageBox(const std::string& text, int flags) {
    boxes.push_back({text, flags});
    if (answers.empty()) return kButtonOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::unique_ptr<CadApplication> FakePlatform::CreateObject(const std::string& className) {
    Record("create " + className);
    cad.released = false;
    return std::make_unique<FakeCad>(cad);
}

std::vector<std::string> FakePlatform::Logged(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& entry : log) {
        if (entry.starts_with(prefix)) found.push_back(entry);
    }
    return found;
}

void FakeView::SetProgressCaption(const std::string& text) {
    caption = text;
    if (!text.empty()) captions.push_back(text);
}

}  // namespace zovlt::test
