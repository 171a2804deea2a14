#pragma once
// A temporary drive C:, a distribution folder and a class registry for tests that run the
// real platform, the stand-in server or the program itself.

#include <QJsonObject>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace zovlt::test {

class Workspace {
  public:
    Workspace();

    std::filesystem::path Root() const { return root_; }
    std::filesystem::path DriveC() const { return root_ / "c"; }
    // The folder that stands for the program's own; FILES lies beside it.
    std::filesystem::path Source() const { return root_ / "dist" / "bin"; }
    std::filesystem::path Files() const { return root_ / "dist" / "FILES"; }
    std::filesystem::path StateFile() const { return root_ / "cad-state.json"; }
    std::filesystem::path ClassesFile() const { return root_ / "classes.ini"; }

    // Creates the file and its folders.
    void Write(const std::filesystem::path& file, const std::string& text) const;
    std::string Read(const std::filesystem::path& file) const;

    // FILES with two files, a hidden file, a subfolder, blocos with two drawings, DLL with the
    // library and the menu file ZOV_LT.cui whose first menu is "ZOV LT".
    void MakeDistribution() const;
    // Registers the stand-in server as the CAD application's class.
    void RegisterStandin() const;
    QJsonObject State() const;

  private:
    QTemporaryDir dir_;
    std::filesystem::path root_;
};

// A menu file whose PopMenuRoot holds PopMenus with the given names.
std::string MenuFileText(const std::vector<std::string>& menus);

}  // namespace zovlt::test
