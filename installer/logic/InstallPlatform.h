#pragma once
// What the installation sequence needs of the operating system. Paths are Windows paths.
// Every failure is thrown as kvl::Error with its number and description.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "winhost/MessageStyle.h"
#include "winhost/StagedPlacement.h"

namespace zovlt {

// A menu group object returned by the CAD application.
class CadMenuGroup {
  public:
    virtual ~CadMenuGroup() = default;
    // "Menus" -> "Item"(menu) -> "InsertInMenuBar"(position)
    virtual void InsertMenuInMenuBar(int32_t menu, int32_t position) = 0;
};

// The CAD application's automation object, with exactly the members the sequence uses.
class CadApplication {
  public:
    virtual ~CadApplication() = default;
    virtual void SetVisible(bool visible) = 0;  // "Visible"
    virtual std::string SupportPath() = 0;      // "Preferences.Files.SupportPath"
    virtual void SetSupportPath(const std::string& path) = 0;
    virtual int32_t MenuGroupCount() = 0;                  // "MenuGroups.Count"
    virtual std::string MenuGroupName(int32_t index) = 0;  // "MenuGroups.Item(i).Name"
    virtual void UnloadMenuGroup(int32_t index) = 0;       // "MenuGroups.Item(i).Unload"
    virtual std::unique_ptr<CadMenuGroup> LoadMenuGroup(const std::string& file) = 0;
    virtual int32_t MenuBarCount() = 0;                        // "MenuBar.Count"
    virtual void CloseDocument(int32_t index, bool save) = 0;  // "Documents(i).Close"
    virtual void Quit() = 0;                                   // "Quit"
};

class InstallPlatform {
  public:
    virtual ~InstallPlatform() = default;

    // A file or folder exists there; never fails.
    virtual bool PathOK(const std::string& path) = 0;
    virtual void CreateFolder(const std::string& path) = 0;
    // Removes a folder that holds nothing; false when it holds anything or does not exist.
    virtual bool RemoveFolderIfEmpty(const std::string& path) = 0;
    // Names of the normal files (no folders, hidden or system files) matching "folder\pattern".
    virtual std::vector<std::string> ListFiles(const std::string& pattern) = 0;
    virtual void DeleteFile(const std::string& path) = 0;
    // Whether the file could be deleted now (a missing one can); asked before anything changes.
    virtual bool CanRemove(const std::string& path) = 0;
    // Removes what a killed run left below the folder; the paths it could not remove.
    virtual std::vector<std::string> RemoveLeftovers(const std::string& folder) = 0;
    // New files placed together: staged under temporary names, then switched, the previous
    // files kept until the end (see winhost::Placement).
    virtual std::unique_ptr<winhost::Placement> NewPlacement() = 0;
    // Starts a command line as a detached, hidden process and does not wait for it.
    virtual void StartHidden(const std::string& commandLine) = 0;
    // Runs a command line as a hidden process and waits for its end; its outcome is not read.
    virtual void RunHidden(const std::string& commandLine) = 0;
    virtual void OpenLink(const std::string& url) = 0;
    // A modal message box without a title of its own: Windows flags in, the chosen button out.
    virtual winhost::Button MessageBox(const std::string& text, int flags) = 0;
    virtual std::unique_ptr<CadApplication> CreateObject(const std::string& className) = 0;
};

}  // namespace zovlt
