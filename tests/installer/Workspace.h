#pragma once
// A temporary drive C:, a distribution folder and a class registry for tests that run the
// real platform, the helper programs or the program itself, and what they check afterwards;
// the symbology installer's end-to-end runs use it too.

#include <gmock/gmock.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace zovlt::test {

// A menu file whose PopMenuRoot holds PopMenus with the given names. The group's own name and
// the items' names must not be taken for the menus'.
inline std::string MenuFileText(const std::vector<std::string>& menus) {
    std::string text = "<CustSection><MenuGroup><Name>Grupo</Name><PopMenuRoot>";
    for (const auto& menu : menus) {
        text += "<PopMenu><Alias>POP</Alias><Name>" + menu + "</Name><PopMenuItem><Name>Item de " +
                menu + "</Name></PopMenuItem></PopMenu>";
    }
    return text + "</PopMenuRoot></MenuGroup></CustSection>";
}

class Workspace {
  public:
    Workspace() {
        std::filesystem::create_directories(DriveC());
        std::filesystem::create_directories(Source());
        std::filesystem::create_directories(StateFile().parent_path());
    }

    std::filesystem::path DriveC() const { return root_ / "c"; }
    // The folder that stands for the program's own; FILES lies beside it.
    std::filesystem::path Source() const { return root_ / "dist" / "bin"; }
    std::filesystem::path Files() const { return root_ / "dist" / "FILES"; }
    // The state folder of the user: the stand-in keeps its state there when not told where.
    std::filesystem::path StateHome() const { return root_ / "state"; }
    std::filesystem::path StateFile() const { return StateHome() / "cad-standin" / "state.json"; }
    std::filesystem::path ClassesFile() const { return root_ / "classes.ini"; }

    // Creates the file and its folders.
    void Write(const std::filesystem::path& file, const std::string& text) const {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string Read(const std::filesystem::path& file) const {
        QFile in(QString::fromStdString(file.string()));
        return in.open(QIODevice::ReadOnly) ? in.readAll().toStdString() : std::string();
    }

    // FILES with two files, a hidden file, a subfolder, blocos with two drawings, DLL with the
    // library and the menu file ZOV_LT.cui whose first menu is "ZOV LT".
    void MakeDistribution() const {
        for (const char* name : {"leia-me.txt", "zovlt.lsp", ".oculto", "extra/nao-copiar.txt",
                                 "blocos/lote.dwg", "blocos/via.dwg", "DLL/KVL2005.dll"}) {
            Write(Files() / name, name);
        }
        Write(Files() / "ZOV_LT.cui", MenuFileText({"ZOV LT", "ZOV Blocos"}));
    }
    // Registers the stand-in server as the CAD application's class.
    void RegisterStandin() const {
        Write(ClassesFile(), "# automation classes\nAutoCAD.Application=" CAD_STANDIN
                             " --state \"" +
                                 StateFile().string() + "\"\n");
    }
    // Every folder (with a final "/") and file under folder, with the files' contents.
    std::map<std::string, std::string> Tree(const std::filesystem::path& folder) const {
        std::map<std::string, std::string> tree;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().lexically_relative(folder).string();
            if (entry.is_directory()) {
                tree[name + "/"] = "";
            } else {
                tree[name] = Read(entry.path());
            }
        }
        return tree;
    }
    QJsonObject State() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(Read(StateFile()))).object();
    }

  private:
    QTemporaryDir dir_;
    std::filesystem::path root_ = dir_.path().toStdString();
};

struct ProgramRun {
    int exitCode = -1;               // also when it crashed
    std::vector<std::string> lines;  // its standard output
};

// Runs a program to its end with the given standard input; an empty environment is this one.
inline ProgramRun RunProgram(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& environment = {},
                             const QByteArray& input = {}) {
    QProcess process;
    if (!environment.isEmpty()) process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(-1)) << program.toStdString();
    ProgramRun run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, {}};
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (!line.isEmpty()) run.lines.push_back(line.toStdString());
    }
    return run;
}

}  // namespace zovlt::test
