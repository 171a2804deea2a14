#pragma once
// A machine and a window for the installer's logic, held in memory.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kvl/Error.h"
#include "logic/SetupPlatform.h"
#include "logic/SetupView.h"

namespace setup::testing {

// A library whose commands give no rows; re-pointing itself is tested on a real SQLite file.
struct EmptyLibrary : SymbolLibrary, RowSet {
    std::unique_ptr<RowSet> OpenRecordset(const std::string&) override {
        return std::make_unique<EmptyLibrary>();
    }
    bool AtEnd() const override { return true; }
    bool BeforeStart() const override { return true; }
    void MoveFirst() override {}
    void MoveNext() override {}
    std::string Value(std::string_view) const override { throw kvl::Error(kvl::kInvalidCall); }
    void Edit() override {}
    void SetValue(std::string_view, const std::string&) override {}
    void Update() override {}
};

struct Message {
    std::string text;
    int flags;
};

// Every step of an installation, in order: "leftovers F", "stage A > B", "open P", "switch",
// then "finish", or "dropped" when the placement goes unfinished (and so undoes itself).
using Steps = std::vector<std::string>;

class FakePlatform : public SetupPlatform {
  public:
    std::map<std::string, std::uintmax_t> files;  // path and size
    std::map<std::string, std::string> registry;
    std::optional<std::string> chosenFolder;  // nothing: the chooser is cancelled
    std::optional<kvl::Error> stageFailure;   // thrown by the second file staged
    std::optional<kvl::Error> switchFailure;  // thrown when the staged files switch
    std::optional<kvl::Error> openFailure;    // thrown when the library is opened

    Steps steps;
    std::vector<Message> messages;
    std::string chooserStart;

    std::string TempFolder() override { return "C:\\Temp"; }
    std::uintmax_t FileSize(const std::string& path) override {
        const auto file = files.find(path);
        if (file == files.end()) throw kvl::Error(kvl::kFileNotFound);
        return file->second;
    }
    std::string RegRead(const std::string& path) override {
        const auto value = registry.find(path);
        if (value == registry.end()) throw kvl::Error(-2147024894, "No value " + path);
        return value->second;
    }
    void CopyFile(const std::string& source, const std::string& destination) override {
        steps.push_back("copy " + source + " > " + destination);
    }
    std::unique_ptr<winhost::Placement> NewPlacement() override;
    std::vector<std::string> RemoveLeftovers(const std::string& folder) override {
        steps.push_back("leftovers " + folder);
        return {};
    }
    std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) override {
        steps.push_back("open " + path);
        if (openFailure) throw *openFailure;
        return std::make_unique<EmptyLibrary>();
    }
    // Not the "." of the C locale, so that a size ignoring the user's separator shows.
    std::string DecimalSeparator() override { return ","; }
    winhost::Button MsgBox(const std::string& text, int flags, const std::string&) override {
        messages.push_back({text, flags});
        return messages.size() <= answers.size() ? answers[messages.size() - 1] : winhost::kOk;
    }
    std::optional<std::string> ChooseFolder(WindowHandle, const std::string& current) override {
        chooserStart = current;
        return chosenFolder;
    }

    // Removal: text files beside the sized ones, paths that cannot go, the boxes' answers.
    std::map<std::string, std::string> texts;
    std::set<std::string> fixed;
    std::vector<winhost::Button> answers;  // the n-th box gets the n-th, then OK

    bool PathOK(const std::string& path) override {
        return files.contains(path) || texts.contains(path);
    }
    void DeleteFile(const std::string& path) override {
        steps.push_back("delete " + path);
        files.erase(path);
        texts.erase(path);
    }
    bool CanRemove(const std::string& path) override { return !fixed.contains(path); }
    std::optional<std::string> ReadText(const std::string& path) override {
        const auto text = texts.find(path);
        return text == texts.end() ? std::nullopt : std::optional(text->second);
    }
    void WriteText(const std::string& path, const std::string& text) override {
        steps.push_back("write " + path);
        texts[path] = text;
    }
};

// Files staged as "stage A > B"; a placement dropped unfinished undoes itself.
class FakePlacement : public winhost::Placement {
  public:
    explicit FakePlacement(FakePlatform& platform) : p_(platform) {}
    ~FakePlacement() override {
        if (!finished_) p_.steps.push_back("dropped");
    }
    std::string Stage(const std::string& source, const std::string& target) override {
        if (p_.stageFailure && ++staged_ == 2) throw *p_.stageFailure;
        p_.steps.push_back("stage " + source + " > " + target);
        return target + ".part";
    }
    void Switch() override {
        p_.steps.push_back("switch");
        if (p_.switchFailure) throw *p_.switchFailure;
    }
    void Undo() noexcept override { p_.steps.push_back("undo"); }
    void Finish() noexcept override {
        p_.steps.push_back("finish");
        finished_ = true;
    }

  private:
    FakePlatform& p_;
    int staged_ = 0;
    bool finished_ = false;
};

inline std::unique_ptr<winhost::Placement> FakePlatform::NewPlacement() {
    return std::make_unique<FakePlacement>(*this);
}

class FakeView : public SetupView {
  public:
    std::vector<std::string> items;
    int selected = -1;
    std::string info;
    std::string location;
    std::vector<bool> busy;

    void AddItem(const std::string& label) override { items.push_back(label); }
    void SelectItem(int index) override { selected = index; }
    std::string SelectedItemText() const override {
        return selected < 0 ? std::string() : items.at(static_cast<size_t>(selected));
    }
    void ShowInfo(const std::string& text) override { info = text; }
    void ShowLocation(const std::string& text) override { location = text; }
    void SetBusy(bool on) override { busy.push_back(on); }
    WindowHandle Handle() const override { return 0; }
};

// A machine with the four components staged and the given edition's key installed.
inline void InstallProduct(FakePlatform& platform, const std::string& probe,
                           const std::string& key) {
    platform.files = {{"C:\\Temp\\PDM Warehouse.mdb", 2 * 1024 * 1024},
                      {"C:\\Temp\\PDM Simbologia.fsm", 1572864},
                      {"C:\\Temp\\PDM Biblioteca.mdb", 0},
                      {"C:\\Temp\\PDM Simbologia.pdf", 10 * 1024}};
    const std::string setupKey =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\" + key + "\\06.00\\Setup\\";
    platform.registry = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications\\DefaultJCache", probe},
        {setupKey + "WarehouseTarget", "C:\\Dados\\Warehouse\\"},
        {setupKey + "Path", "C:\\Programas\\Cartelix\\"},
        {setupKey + "WorkspaceTarget", "C:\\Dados\\Workspace\\"}};
}

}  // namespace setup::testing
