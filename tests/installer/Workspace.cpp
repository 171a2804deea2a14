#include "Workspace.h"

#include <QFile>
#include <QJsonDocument>
#include <fstream>
#include <sstream>

namespace zovlt::test {

namespace fs = std::filesystem;

Workspace::Workspace() : root_(dir_.path().toStdString()) {
    fs::create_directories(DriveC());
    fs::create_directories(Source());
}

void Workspace::Write(const fs::path& file, const std::string& text) const {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string Workspace::Read(const fs::path& file) const {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string MenuFileText(const std::vector<std::string>& menus) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<CustSection><MenuGroup><Name>Grupo</Name>\n"
        "<PopMenuRoot>\n";
    for (const auto& menu : menus) {
        text += "<PopMenu UID=\"" + menu + "\"><Alias>POP</Alias><Name>" + menu +
                "</Name><PopMenuItem><Name>Item de " + menu + "</Name></PopMenuItem></PopMenu>\n";
    }
    return text + "</PopMenuRoot></MenuGroup></CustSection>\n";
}

void Workspace::MakeDistribution() const {
    Write(Files() / "leia-me.txt", "ZOV LT\n");
    Write(Files() / "zovlt.lsp", "(defun c:zov () (princ))\n");
    Write(Files() / "ZOV_LT.cui", MenuFileText({"ZOV LT", "ZOV Blocos"}));
    Write(Files() / ".oculto", "hidden\n");
    Write(Files() / "extra" / "nao-copiar.txt", "in a subfolder\n");
    Write(Files() / "blocos" / "lote.dwg", "lote\n");
    Write(Files() / "blocos" / "via.dwg", "via\n");
    Write(Files() / "DLL" / "KVL2005.dll", "library\n");
}

void Workspace::RegisterStandin() const {
    Write(ClassesFile(), "# automation classes\nAutoCAD.Application=" CAD_STANDIN " --state \"" +
                             StateFile().string() + "\"\n");
}

QJsonObject Workspace::State() const {
    return QJsonDocument::fromJson(QByteArray::fromStdString(Read(StateFile()))).object();
}

}  // namespace zovlt::test
