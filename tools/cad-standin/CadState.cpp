#include "CadState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <stdexcept>

namespace standin {

namespace {

QJsonArray ToJson(const std::vector<std::string>& texts) {
    QJsonArray array;
    for (const auto& text : texts) array.append(QString::fromStdString(text));
    return array;
}

std::vector<std::string> TextsOf(const QJsonValue& value) {
    std::vector<std::string> texts;
    for (const QJsonValue& item : value.toArray()) texts.push_back(item.toString().toStdString());
    return texts;
}

// The keys of object that are not among known, as a JSON object's text.
std::string OtherKeys(QJsonObject object, std::initializer_list<const char*> known) {
    for (const char* key : known) object.remove(QLatin1String(key));
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

// The object of the other keys, with the known ones set over it.
QJsonObject WithOtherKeys(const std::string& otherKeys,
                          std::initializer_list<std::pair<QString, QJsonValue>> known) {
    QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(otherKeys)).object();
    for (const auto& [key, value] : known) object.insert(key, value);
    return object;
}

QJsonObject ToJson(const MenuGroup& group) {
    return WithOtherKeys(group.otherKeys, {{"Name", QString::fromStdString(group.name)},
                                           {"File", QString::fromStdString(group.file)},
                                           {"Menus", ToJson(group.menus)}});
}

MenuGroup GroupOf(const QJsonObject& object) {
    return {object["Name"].toString().toStdString(), object["File"].toString().toStdString(),
            TextsOf(object["Menus"]), OtherKeys(object, {"Name", "File", "Menus"})};
}

}  // namespace

CadState DefaultState() {
    CadState state;
    state.supportPath =
        "C:\\Program Files\\AutoCAD 2006\\support;C:\\Program Files\\AutoCAD 2006\\fonts";
    state.menuGroups = {
        {"ACAD", "C:\\Program Files\\AutoCAD 2006\\support\\acad.cui", {"File", "Help"}}};
    state.menuBar = {"File", "Help"};
    state.documents = {"Drawing1.dwg"};
    return state;
}

CadState LoadState(const std::string& file) {
    QFile in(QString::fromStdString(file));
    if (!in.exists()) return DefaultState();
    if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + file);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        throw std::runtime_error("malformed state file " + file);
    }
    const QJsonObject root = document.object();
    CadState state;
    state.supportPath = root["SupportPath"].toString().toStdString();
    for (const QJsonValue& group : root["MenuGroups"].toArray()) {
        state.menuGroups.push_back(GroupOf(group.toObject()));
    }
    state.menuBar = TextsOf(root["MenuBar"]);
    state.documents = TextsOf(root["Documents"]);
    state.visible = root["Visible"].toBool();
    state.running = root["Running"].toBool();
    state.otherKeys = OtherKeys(
        root, {"SupportPath", "MenuGroups", "MenuBar", "Documents", "Visible", "Running"});
    return state;
}

void SaveState(const std::string& file, const CadState& state) {
    QJsonArray groups;
    for (const auto& group : state.menuGroups) groups.append(ToJson(group));
    const QJsonObject root =
        WithOtherKeys(state.otherKeys, {{"SupportPath", QString::fromStdString(state.supportPath)},
                                        {"MenuGroups", groups},
                                        {"MenuBar", ToJson(state.menuBar)},
                                        {"Documents", ToJson(state.documents)},
                                        {"Visible", state.visible},
                                        {"Running", state.running}});
    QSaveFile out(QString::fromStdString(file));
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(root).toJson()) < 0 ||
        !out.commit()) {
        throw std::runtime_error("cannot write " + file);
    }
}

}  // namespace standin
