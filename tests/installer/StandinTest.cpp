// The stand-in CAD server through the installer's automation client: its members, its state
// file and the failures it reports.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QProcess>

#include "AutomationClient.h"
#include "Workspace.h"
#include "kvl/Error.h"

namespace zovlt::test {
namespace {

constexpr int kInvalidArgument = -2147024809;
constexpr int kFailed = -2147467259;

std::vector<std::string> Texts(const QJsonValue& value) {
    std::vector<std::string> texts;
    for (const auto& item : value.toArray()) texts.push_back(item.toString().toStdString());
    return texts;
}

class StandinTest : public ::testing::Test {
  protected:
    StandinTest() { space.RegisterStandin(); }

    std::unique_ptr<CadApplication> Start() {
        return CreateAutomationObject(ClassRegistry::Load(space.ClassesFile().string()),
                                      "AutoCAD.Application", DriveMap(space.DriveC()));
    }

    template <class Call>
    int ErrorOf(Call&& call) {
        try {
            call();
        } catch (const kvl::Error& error) {
            return error.number();
        }
        return 0;
    }

    Workspace space;
};

TEST_F(StandinTest, WithoutAStateFileItStartsWithTheDefaultState) {
    {
        auto cad = Start();
        EXPECT_EQ(
            cad->SupportPath(),
            "C:\\Program Files\\AutoCAD 2006\\support;C:\\Program Files\\AutoCAD 2006\\fonts");
        EXPECT_EQ(cad->MenuGroupCount(), 1);
        EXPECT_EQ(cad->MenuGroupName(0), "ACAD");
        EXPECT_EQ(cad->MenuBarCount(), 2);
    }
    // Released without Quit: the application is still running.
    const QJsonObject state = space.State();
    EXPECT_TRUE(state["Running"].toBool());
    EXPECT_THAT(Texts(state["Documents"]), ::testing::SizeIs(1));
    EXPECT_THAT(Texts(state["MenuBar"]), ::testing::ElementsAre("File", "Help"));
}

TEST_F(StandinTest, ChangesReachTheStateFileAsTheyHappen) {
    auto cad = Start();
    cad->SetVisible(false);
    cad->SetSupportPath(" C:\\a b;C:\\ZOV_LT ");
    EXPECT_FALSE(space.State()["Visible"].toBool());
    EXPECT_EQ(space.State()["SupportPath"].toString(), " C:\\a b;C:\\ZOV_LT ");
    EXPECT_EQ(cad->SupportPath(), " C:\\a b;C:\\ZOV_LT ");
    cad->CloseDocument(0, false);
    EXPECT_THAT(Texts(space.State()["Documents"]), ::testing::IsEmpty());
    EXPECT_EQ(ErrorOf([&] { cad->CloseDocument(0, false); }), kInvalidArgument);
    cad->Quit();
    EXPECT_FALSE(space.State()["Running"].toBool());
    EXPECT_EQ(ErrorOf([&] { cad->MenuBarCount(); }), 462);  // the server has ended
}

TEST_F(StandinTest, LoadedGroupIsNamedAfterTheFileWithMenusFromPopMenuRoot) {
    space.Write(space.DriveC() / "ZOV_LT" / "ZOV_LT.cui", MenuFileText({"ZOV LT", "ZOV Blocos"}));
    auto cad = Start();
    auto group = cad->LoadMenuGroup("C:\\ZOV_LT\\ZOV_LT.cui");
    group->InsertMenuInMenuBar(0, cad->MenuBarCount() - 1);
    EXPECT_EQ(cad->MenuGroupName(1), "ZOV_LT");
    const QJsonObject state = space.State();
    const QJsonObject loaded = state["MenuGroups"].toArray()[1].toObject();
    EXPECT_EQ(loaded["File"].toString(), "C:\\ZOV_LT\\ZOV_LT.cui");
    EXPECT_THAT(Texts(loaded["Menus"]), ::testing::ElementsAre("ZOV LT", "ZOV Blocos"));
    EXPECT_THAT(Texts(state["MenuBar"]), ::testing::ElementsAre("File", "ZOV LT", "Help"));
    // Loading the same group twice fails; unloading takes its menus off the bar.
    EXPECT_EQ(ErrorOf([&] { cad->LoadMenuGroup("C:\\ZOV_LT\\ZOV_LT.cui"); }), kFailed);
    cad->UnloadMenuGroup(1);
    EXPECT_THAT(Texts(space.State()["MenuBar"]), ::testing::ElementsAre("File", "Help"));
    EXPECT_EQ(ErrorOf([&] { group->InsertMenuInMenuBar(0, 0); }), kFailed);
}

TEST_F(StandinTest, MenuFilesWithoutMenusOrUnreadableOnesAndBadIndexes) {
    space.Write(space.DriveC() / "vazio.cui", "<CustSection><MenuGroup/></CustSection>");
    space.Write(space.DriveC() / "partido.cui", "<CustSection><PopMenuRoot>");
    auto cad = Start();
    auto empty = cad->LoadMenuGroup("C:\\vazio.cui");
    EXPECT_EQ(ErrorOf([&] { empty->InsertMenuInMenuBar(1, 0); }), kInvalidArgument);
    EXPECT_EQ(ErrorOf([&] { empty->InsertMenuInMenuBar(0, 4); }), kInvalidArgument);
    empty->InsertMenuInMenuBar(0, 2);
    EXPECT_THAT(Texts(space.State()["MenuBar"]), ::testing::ElementsAre("File", "Help", "vazio"));
    EXPECT_EQ(ErrorOf([&] { cad->LoadMenuGroup("C:\\partido.cui"); }), kFailed);
    EXPECT_EQ(ErrorOf([&] { cad->LoadMenuGroup("C:\\nada.cui"); }), kFailed);
    EXPECT_EQ(ErrorOf([&] { cad->MenuGroupName(5); }), kInvalidArgument);
    EXPECT_EQ(cad->MenuGroupCount(), 2);
}

TEST_F(StandinTest, AMalformedStateFileMeansNoApplication) {
    space.Write(space.StateFile(), "{ not json");
    EXPECT_EQ(ErrorOf([&] { Start(); }), kvl::kCannotCreateObject);
}

TEST_F(StandinTest, MembersOutsideItsTableAreRefused) {
    QProcess server;
    server.start(CAD_STANDIN, {"--state", QString::fromStdString(space.StateFile().string())});
    ASSERT_TRUE(server.waitForStarted());
    server.write("get\tVisible\nput\tMenuGroups.Count\t3\ncall\tDocuments(0).Close\tmaybe\n");
    server.closeWriteChannel();
    ASSERT_TRUE(server.waitForFinished());
    const QStringList lines = QString::fromUtf8(server.readAllStandardOutput()).split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], "ready");
    EXPECT_TRUE(lines[1].startsWith("error\t438\t"));
    EXPECT_TRUE(lines[2].startsWith("error\t438\t"));
    EXPECT_TRUE(lines[3].startsWith("error\t13\t"));
}

}  // namespace
}  // namespace zovlt::test
