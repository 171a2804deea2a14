#include "MenuFile.h"

#include <QFile>
#include <QXmlStreamReader>
#include <stdexcept>

namespace standin {

namespace {

std::string GroupName(const std::string& windowsPath) {
    std::string name = windowsPath.substr(windowsPath.find_last_of("\\/") + 1);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

// Within a PopMenu: the text of its first Name child.
std::string PopMenuName(QXmlStreamReader& xml) {
    std::string name;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Name") && name.empty()) {
            name = xml.readElementText().toStdString();
        } else {
            xml.skipCurrentElement();
        }
    }
    return name;
}

// Within a PopMenuRoot: the names of its PopMenu children.
void ReadPopMenuRoot(QXmlStreamReader& xml, std::vector<std::string>& menus) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("PopMenu")) {
            menus.push_back(PopMenuName(xml));
        } else {
            xml.skipCurrentElement();
        }
    }
}

}  // namespace

MenuGroup ReadMenuFile(const std::string& windowsPath, const std::filesystem::path& hostPath) {
    QFile file(QString::fromStdString(hostPath.string()));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("não foi possível abrir " + windowsPath);
    MenuGroup group{GroupName(windowsPath), windowsPath, {}};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("PopMenuRoot")) {
            ReadPopMenuRoot(xml, group.menus);
        }
    }
    if (xml.hasError()) throw std::runtime_error("não é um ficheiro de menus: " + windowsPath);
    if (group.menus.empty()) group.menus.push_back(group.name);
    return group;
}

}  // namespace standin
