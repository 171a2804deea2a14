// The platform layer with real processes: programs and the class registry (its files are
// winhost's), and the helper programs: the stand-in CAD server, through the installer's
// automation client, and regsvr32 with a small self-registering library.

#include <gmock/gmock.h>

#include <QJsonArray>

#include "Databases.h"
#include "Workspace.h"
#include "platform/AutomationClient.h"
#include "platform/ClassRegistry.h"
#include "platform/Processes.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;
using kvltest::ErrorOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr int kInvalidArgument = -2147024809;
constexpr int kFailed = -2147467259;

TEST(StandinTest, RefusesWhatTheCadApplicationWouldRefuseAndWritesItsStateAsItChanges) {
    Workspace space;
    // A member it does not have, a property it does not let be set, an argument of the wrong type.
    const ProgramRun run =
        RunProgram(CAD_STANDIN, {"--state", QString::fromStdString(space.StateFile().string())}, {},
                   "get\tVisible\nput\tMenuGroups.Count\t3\ncall\tDocuments(0).Close\tmaybe\n");
    EXPECT_THAT(run.lines, ElementsAre("ready", StartsWith("error\t438\t"),
                                       StartsWith("error\t438\t"), StartsWith("error\t13\t")));

    space.RegisterStandin();
    const auto start = [&] {
        return CreateAutomationObject(ClassRegistry::Load(space.ClassesFile().string()),
                                      "AutoCAD.Application", winhost::DriveMap(space.DriveC()));
    };
    space.Write(space.DriveC() / "ZOV_LT.cui", MenuFileText({"ZOV LT"}));
    auto cad = start();
    auto group = cad->LoadMenuGroup("C:\\ZOV_LT.cui");
    // A bar position or group index past the end, a group loaded twice, a missing file.
    EXPECT_EQ(ErrorOf([&] { group->InsertMenuInMenuBar(0, 3); }), kInvalidArgument);
    EXPECT_EQ(ErrorOf([&] { cad->MenuGroupName(2); }), kInvalidArgument);
    EXPECT_EQ(ErrorOf([&] { cad->LoadMenuGroup("C:\\ZOV_LT.cui"); }), kFailed);
    EXPECT_EQ(ErrorOf([&] { cad->LoadMenuGroup("C:\\nada.cui"); }), kFailed);
    group->InsertMenuInMenuBar(0, 2);
    cad->UnloadMenuGroup(1);
    // Unloaded, its menus can no longer be inserted; that they left the bar with it is the
    // end-to-end removal's.
    EXPECT_EQ(ErrorOf([&] { group->InsertMenuInMenuBar(0, 0); }), kFailed);

    // Leading and trailing blanks, tabs, line breaks and percents, even one before two hex
    // digits, survive the round trip through the state file.
    const std::string path = " C:\\a b;%41\t\r\nC:\\ZOV_LT ";
    cad->SetSupportPath(path);
    EXPECT_EQ(space.State()["SupportPath"].toString().toStdString(), path);
    EXPECT_EQ(cad->SupportPath(), path);
    cad->CloseDocument(0, false);
    EXPECT_EQ(ErrorOf([&] { cad->CloseDocument(0, false); }), kInvalidArgument);
    // Released without Quit, the application keeps running.
    cad.reset();
    EXPECT_TRUE(space.State()["Running"].toBool());
    cad = start();
    cad->Quit();
    EXPECT_EQ(ErrorOf([&] { cad->MenuBarCount(); }), 462);  // the server has ended
}

TEST(RegistrationTest, ExitStatusSaysWhetherTheLibraryLoadedAndItsEntryPointSucceeded) {
    Workspace space;
    fs::create_directories(space.DriveC() / "DLL");
    fs::copy_file(REGISTRATION_MODULE, space.DriveC() / "DLL" / "KVL2005.dll");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(winhost::DriveMap::kInheritedVariable,
                       QString::fromStdString(space.DriveC().string()));
    const auto run = [&](const QStringList& arguments) {
        return RunProgram(BIN_DIR "/regsvr32", arguments, environment);
    };
    const ProgramRun silent = run({"C:\\DLL\\KVL2005.dll", "/s"});
    EXPECT_EQ(silent.exitCode, 0);
    EXPECT_THAT(silent.lines, IsEmpty());
    EXPECT_THAT(run({"C:\\DLL\\KVL2005.dll"}).lines, Contains(HasSubstr("DllRegisterServer")));
    EXPECT_EQ(run({"/u", "/s", "C:\\DLL\\KVL2005.dll"}).exitCode, 5);  // refused by the library
    EXPECT_EQ(run({}).exitCode, 1);
    EXPECT_EQ(run({"C:\\DLL\\NADA.dll", "/s"}).exitCode, 3);
}

// Programs found and started are proven by the end-to-end runs.
TEST(ProcessesTest, ProgramsThatCannotBeStartedFailWithTheClassicNumbers) {
    Workspace space;
    const winhost::DriveMap drives(space.DriveC());
    EXPECT_EQ(ErrorOf([&] { StartDetachedHidden("zovlt-no-such-program /s", drives); }),
              kvl::kFileNotFound);
    const fs::path notAProgram = space.DriveC() / "leia-me.txt";
    space.Write(notAProgram, "text");
    fs::permissions(notAProgram, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ErrorOf([&] { StartDetachedHidden(notAProgram.string(), drives); }),
              kvl::kPermissionDenied);
    // Run to its end: what it did is there when the call returns.
    RunHiddenToEnd(
        "sh -c \"sleep 0.2; echo feito > '" + (space.DriveC() / "marca").string() + "'\"", drives);
    EXPECT_EQ(space.Read(space.DriveC() / "marca"), "feito\n");
}

TEST(ClassRegistryTest, LinesNameClassesInAnyCaseAndObjectsThatCannotBeCreatedFailWith429) {
    Workspace space;
    // A stand-in whose state file is malformed ends before it is ready.
    space.Write(space.StateFile(), "{ not json");
    // Saved as UTF-8 with a byte-order mark, as editors on Windows do.
    space.Write(space.ClassesFile(),
                "\xEF\xBB\xBF AutoCAD.Application = cad-standin --state x\r\n# comment\r\n\r\n=x\n"
                "Sem.Programa=zovlt-no-such-program\nNunca.Pronto=" CAD_STANDIN " --state \"" +
                    space.StateFile().string() + "\"\n");
    const auto registry = ClassRegistry::Load(space.ClassesFile().string());
    EXPECT_EQ(registry.CommandFor("autocad.application"), "cad-standin --state x");
    const winhost::DriveMap drives(space.DriveC());
    for (const char* name : {"Outra.Classe", "Sem.Programa", "Nunca.Pronto"}) {
        EXPECT_EQ(ErrorOf([&] { CreateAutomationObject(registry, name, drives); }),
                  kvl::kCannotCreateObject)
            << name;
    }
}

}  // namespace
}  // namespace zovlt::test
