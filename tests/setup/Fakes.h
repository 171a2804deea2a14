#pragma once
// A machine and a window for the installer's logic, held in memory.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kvl/Error.h"
#include "logic/SetupPlatform.h"
#include "logic/SetupView.h"

namespace setup::testing {

// Rows of one command, as maps of field to value.
using Rows = std::vector<std::map<std::string, std::string, std::less<>>>;

class FakeRowSet : public RowSet {
  public:
    explicit FakeRowSet(Rows& rows) : rows_(rows), at_(rows.empty() ? kBefore : 0) {}
    bool AtEnd() const override { return at_ >= rows_.size(); }
    bool BeforeStart() const override { return at_ == kBefore; }
    void MoveFirst() override { at_ = rows_.empty() ? kBefore : 0; }
    void MoveNext() override { ++at_; }
    std::string Value(std::string_view field) const override {
        return rows_.at(at_).find(field)->second;
    }
    void Edit() override { editing_ = true; }
    void SetValue(std::string_view field, const std::string& value) override {
        if (!editing_) throw kvl::Error(kvl::kInvalidCall);
        rows_.at(at_).find(field)->second = value;
    }
    void Update() override { editing_ = false; }

  private:
    static constexpr size_t kBefore = static_cast<size_t>(-1);
    Rows& rows_;
    size_t at_;
    bool editing_ = false;
};

class FakeLibrary : public SymbolLibrary {
  public:
    explicit FakeLibrary(std::map<std::string, Rows>& tables) : tables_(tables) {}
    std::unique_ptr<RowSet> OpenRecordset(const std::string& command) override {
        return std::make_unique<FakeRowSet>(tables_[command]);
    }

  private:
    std::map<std::string, Rows>& tables_;
};

struct Message {
    std::string text;
    int flags;
    std::string title;
};

class FakePlatform : public SetupPlatform {
  public:
    std::string temp = "C:\\Temp";
    std::map<std::string, std::uintmax_t> files;  // path and size
    std::map<std::string, std::string> registry;
    std::string separator = ",";
    std::optional<std::string> chosenFolder;  // nothing: the chooser is cancelled
    std::optional<kvl::Error> copyFailure;    // thrown by the second copy
    // Results of command texts of the library.
    std::map<std::string, Rows> library;

    std::vector<std::pair<std::string, std::string>> copies;
    std::vector<std::string> openedLibraries;
    std::vector<Message> messages;

    std::string TempFolder() override { return temp; }
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
        if (copyFailure && copies.size() == 1) throw *copyFailure;
        copies.emplace_back(source, destination);
    }
    std::unique_ptr<SymbolLibrary> OpenLibrary(const std::string& path) override {
        openedLibraries.push_back(path);
        return std::make_unique<FakeLibrary>(library);
    }
    std::string DecimalSeparator() override { return separator; }
    int MsgBox(const std::string& text, int flags, const std::string& title) override {
        messages.push_back({text, flags, title});
        return kOk;
    }
    std::optional<std::string> ChooseFolder(WindowHandle) override { return chosenFolder; }
};

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
    WindowHandle Handle() const override { return 42; }
};

// A machine with the four components staged and the given edition installed.
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
