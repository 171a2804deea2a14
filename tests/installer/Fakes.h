#pragma once
// The platform and the CAD application of the installer's logic, scripted and logged, for the
// tests of the logic and of its window.

#include <algorithm>
#include <map>
#include <memory>
#include <ranges>
#include <set>
#include <string>
#include <vector>

#include "kvl/Error.h"
#include "logic/InstallPlatform.h"
#include "logic/Texts.h"

namespace zovlt::test {

// What the platform and the CAD application hold. Every call, message boxes included as
// "box <flags> <text>", is logged in one list, in order; a failure queued for a log entry, or for
// its first word, makes that call throw.
struct World {
    std::vector<std::string> log;
    std::map<std::string, int> failures;     // entry or first word -> error number, thrown once
    std::set<std::string> existing;          // paths PathOK finds
    std::set<std::string> fixed;             // paths CanRemove refuses
    std::vector<std::string> leftoversKept;  // what RemoveLeftovers could not remove
    std::map<std::string, std::vector<std::string>> listings;  // pattern -> names
    std::vector<winhost::Button> answers;  // the n-th box gets the n-th answer, else OK
    size_t boxesShown = 0;
    std::string supportPath = "C:\\CAD\\support;C:\\CAD\\fonts";
    std::vector<std::string> groups = {"ACAD"};
    int32_t menuBarCount = 2;
    int32_t menuBarCountAfterLoad = -1;  // >= 0: the bar changes while the file loads
    int liveObjects = 0;                 // CAD objects not yet released

    void Call(const std::string& entry) {
        log.push_back(entry);
        for (const std::string& key : {entry, entry.substr(0, entry.find(' '))}) {
            if (auto failure = failures.extract(key)) throw kvl::Error(failure.mapped());
        }
    }

    // Logs the call, then gives what it returns.
    template <class T>
    T Answer(const std::string& entry, T value) {
        Call(entry);
        return value;
    }

    std::vector<std::string> Logged(const std::string& prefix) const {
        auto found =
            log | std::views::filter([&](auto& entry) { return entry.starts_with(prefix); });
        return {found.begin(), found.end()};
    }

    // Where an entry first appears in the log; past the end when it never does.
    size_t At(const std::string& entry) const {
        return std::ranges::find(log, entry) - log.begin();
    }
};

struct FakeGroup : CadMenuGroup {
    explicit FakeGroup(World& world) : w(world) {}
    void InsertMenuInMenuBar(int32_t menu, int32_t position) override {
        w.Call("InsertInMenuBar " + std::to_string(menu) + " " + std::to_string(position));
    }
    World& w;
};

struct FakeCad : CadApplication {
    explicit FakeCad(World& world) : w(world) { ++w.liveObjects; }
    ~FakeCad() override { --w.liveObjects; }
    void SetVisible(bool visible) override { w.Call(visible ? "Visible True" : "Visible False"); }
    std::string SupportPath() override { return w.Answer("SupportPath", w.supportPath); }
    void SetSupportPath(const std::string& path) override {
        w.supportPath = w.Answer("SetSupportPath " + path, path);
    }
    int32_t MenuGroupCount() override {
        return w.Answer("MenuGroupCount", static_cast<int32_t>(w.groups.size()));
    }
    std::string MenuGroupName(int32_t index) override {
        return w.Answer("MenuGroupName " + std::to_string(index), w.groups.at(index));
    }
    void UnloadMenuGroup(int32_t index) override {
        w.Call("Unload " + std::to_string(index));
        w.groups.erase(w.groups.begin() + index);
    }
    std::unique_ptr<CadMenuGroup> LoadMenuGroup(const std::string& file) override {
        w.Call("Load " + file);
        w.groups.push_back(std::string(texts::kMenuGroup));
        if (w.menuBarCountAfterLoad >= 0) w.menuBarCount = w.menuBarCountAfterLoad;
        return std::make_unique<FakeGroup>(w);
    }
    int32_t MenuBarCount() override { return w.Answer("MenuBarCount", w.menuBarCount); }
    void CloseDocument(int32_t index, bool save) override {
        w.Call("Close " + std::to_string(index) + (save ? " True" : " False"));
    }
    void Quit() override { w.Call("Quit"); }
    World& w;
};

// Files staged as "stage <source> > <target>", then "switch", and "undo" or "finish".
struct FakePlacement : winhost::Placement {
    explicit FakePlacement(World& world) : w(world) {}
    std::string Stage(const std::string& source, const std::string& target) override {
        w.Call("stage " + source + " > " + target);
        return target + ".part";
    }
    void Switch() override { w.Call("switch"); }
    void Undo() noexcept override { w.log.push_back("undo"); }
    void Finish() noexcept override { w.log.push_back("finish"); }
    World& w;
};

struct FakePlatform : InstallPlatform, World {
    bool PathOK(const std::string& path) override { return existing.count(path) > 0; }
    void CreateFolder(const std::string& path) override { Call("mkdir " + path); }
    bool RemoveFolderIfEmpty(const std::string& path) override {
        Call("rmdir " + path);
        return true;
    }
    std::vector<std::string> ListFiles(const std::string& pattern) override {
        return Answer("list " + pattern, listings[pattern]);
    }
    void DeleteFile(const std::string& path) override {
        Call("delete " + path);
        existing.erase(path);
    }
    bool CanRemove(const std::string& path) override { return !fixed.contains(path); }
    std::vector<std::string> RemoveLeftovers(const std::string& folder) override {
        return Answer("leftovers " + folder, leftoversKept);
    }
    std::unique_ptr<winhost::Placement> NewPlacement() override {
        return std::make_unique<FakePlacement>(*this);
    }
    void StartHidden(const std::string& commandLine) override { Call("start " + commandLine); }
    void RunHidden(const std::string& commandLine) override { Call("run " + commandLine); }
    void OpenLink(const std::string& url) override { Call("open " + url); }
    winhost::Button MessageBox(const std::string& text, int flags) override {
        Call("box " + std::to_string(flags) + " " + text);
        return ++boxesShown <= answers.size() ? answers[boxesShown - 1] : winhost::kOk;
    }
    std::unique_ptr<CadApplication> CreateObject(const std::string& className) override {
        Call("create " + className);
        return std::make_unique<FakeCad>(*this);
    }
};

}  // namespace zovlt::test
