#pragma once
// The stand-in's automation members: exactly those the add-on installer calls on the CAD
// application, served one request at a time (see winhost/Wire.h for the protocol).
//
//   put  Visible                              True | False
//   get  Preferences.Files.SupportPath
//   put  Preferences.Files.SupportPath        text
//   get  MenuGroups.Count
//   get  MenuGroups.Item(i).Name
//   call MenuGroups.Item(i).Unload
//   call MenuGroups.Load                      Windows path   -> "#n", the loaded group
//   call #n.Menus.Item(i).InsertInMenuBar     position
//   get  MenuBar.Count
//   call Documents(i).Close                   True | False (save; nothing is saved here)
//   call Quit                                 (closes the drawings still open)
//
// Anything else is error 438. Failures carry automation failure codes as signed numbers and
// descriptions in the language of the programs that call it (Portuguese).

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CadState.h"
#include "winhost/DriveMap.h"

namespace standin {

class CadServer {
  public:
    CadServer(CadState& state, winhost::DriveMap drives)
        : state_(state), drives_(std::move(drives)) {}

    // One request line in, its answer line out.
    std::string Handle(std::string_view request);

    bool QuitCalled() const { return quit_; }

  private:
    std::string Serve(const std::string& verb, const std::string& path,
                      const std::string* argument);
    std::string LoadGroup(const std::string& file);
    void InsertInMenuBar(int handle, int menu, const std::string& position);
    void UnloadGroup(int index);
    void CloseDocument(int index, const std::string& save);
    MenuGroup& GroupAt(int index);

    CadState& state_;
    winhost::DriveMap drives_;
    std::map<int, std::string> handles_;  // "#n" -> name of the group it stands for
    bool quit_ = false;
};

}  // namespace standin
