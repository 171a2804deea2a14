// The Linux platform layer: drive mapping, file operations and their error numbers, programs,
// the class registry, message-box flags, the command line and the wire format.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AutomationClient.h"
#include "ClassRegistry.h"
#include "HostFiles.h"
#include "MessageStyle.h"
#include "Options.h"
#include "Processes.h"
#include "Wildcard.h"
#include "Wire.h"
#include "Workspace.h"
#include "kvl/Error.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// The error number a call throws, or 0.
template <class Call>
int ErrorOf(Call&& call) {
    try {
        call();
    } catch (const kvl::Error& error) {
        return error.number();
    }
    return 0;
}

// --- Drive mapping ---------------------------------------------------------------------------

TEST(DriveMapTest, WindowsPathsMapThroughDriveCAndZ) {
    const DriveMap drives("/tmp/prefix/drive_c/");
    EXPECT_EQ(drives.ToHost("C:\\ZOV_LT\\blocos\\a.dwg"),
              "/tmp/prefix/drive_c/ZOV_LT/blocos/a.dwg");
    EXPECT_EQ(drives.ToHost("c:\\ZOV_LT"), "/tmp/prefix/drive_c/ZOV_LT");
    EXPECT_EQ(drives.ToHost("C:"), "/tmp/prefix/drive_c");
    EXPECT_EQ(drives.ToHost("Z:\\media\\dist\\bin\\..\\FILES"), "/media/dist/FILES");
    EXPECT_EQ(drives.ToHost("C:\\ZOV_LT\\.\\..\\..\\..\\etc\\x"), "/tmp/prefix/drive_c/etc/x");
    EXPECT_EQ(drives.ToHost("Z:\\a\\..\\..\\b"), "/b");
    EXPECT_EQ(ErrorOf([&] { drives.ToHost("D:\\x"); }), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { drives.ToHost("relative\\x"); }), kvl::kPathNotFound);
}

TEST(DriveMapTest, HostFoldersWriteBackUnderCOrZ) {
    const DriveMap drives("/tmp/prefix/drive_c");
    EXPECT_EQ(drives.ToWindows("/tmp/prefix/drive_c/Programas/ZOV/"), "C:\\Programas\\ZOV");
    EXPECT_EQ(drives.ToWindows("/tmp/prefix/drive_c"), "C:");
    EXPECT_EQ(drives.ToWindows("/tmp/prefix/drive_cx/bin"), "Z:\\tmp\\prefix\\drive_cx\\bin");
    EXPECT_EQ(drives.ToWindows("/media/dist/bin"), "Z:\\media\\dist\\bin");
}

TEST(DriveMapTest, DriveCComesFromTheOptionElseTheWinePrefixElseHome) {
    setenv("WINEPREFIX", "/tmp/pfx", 1);
    EXPECT_EQ(DriveMap::FromEnvironment("/opt/c").DriveC(), "/opt/c");
    EXPECT_EQ(DriveMap::FromEnvironment(std::nullopt).DriveC(), "/tmp/pfx/drive_c");
    unsetenv("WINEPREFIX");
    setenv("HOME", "/home/tecnico", 1);
    EXPECT_EQ(DriveMap::FromEnvironment(std::nullopt).DriveC(), "/home/tecnico/.wine/drive_c");
}

// --- Wildcards -------------------------------------------------------------------------------

TEST(WildcardTest, MatchesAsWindowsDoes) {
    EXPECT_TRUE(MatchesWildcard("leia-me.txt", "*.*"));
    EXPECT_TRUE(MatchesWildcard("LEIAME", "*.*"));  // no dot still matches "*.*"
    EXPECT_TRUE(MatchesWildcard("LOTE.DWG", "*.dwg"));
    EXPECT_FALSE(MatchesWildcard("lote.dwg.bak", "*.dwg"));
    EXPECT_TRUE(MatchesWildcard("a1.lsp", "a?.lsp"));
    EXPECT_FALSE(MatchesWildcard("a12.lsp", "a?.lsp"));
    EXPECT_TRUE(MatchesWildcard("abcabd", "*ab?"));
}

// --- Files -----------------------------------------------------------------------------------

class HostFilesTest : public ::testing::Test {
  protected:
    HostFilesTest() : files(DriveMap(space.DriveC())) {}
    Workspace space;
    HostFiles files;
};

TEST_F(HostFilesTest, ListingGivesNormalFilesByPatternInAnyCaseOrder) {
    space.Write(space.DriveC() / "d" / "b.txt", "");
    space.Write(space.DriveC() / "d" / "A.txt", "");
    space.Write(space.DriveC() / "d" / "c.dwg", "");
    space.Write(space.DriveC() / "d" / ".hidden.txt", "");
    space.Write(space.DriveC() / "d" / "x\\..\\..\\fora.txt", "");  // not a Windows file name
    space.Write(space.DriveC() / "d" / "sub.txt" / "x", "");        // a folder
    ASSERT_EQ(mkfifo((space.DriveC() / "d" / "pipe.txt").c_str(), 0600), 0);  // a system file
    EXPECT_THAT(files.ListFiles("C:\\d\\*.*"), ElementsAre("A.txt", "b.txt", "c.dwg"));
    EXPECT_THAT(files.ListFiles("C:\\d\\*.TXT"), ElementsAre("A.txt", "b.txt"));
    fs::create_directories(space.DriveC() / "empty");
    EXPECT_TRUE(files.ListFiles("C:\\empty\\*.*").empty());
    EXPECT_EQ(ErrorOf([&] { files.ListFiles("C:\\missing\\*.*"); }), kvl::kPathNotFound);
}

TEST_F(HostFilesTest, FoldersAreCreatedOneLevelAtATime) {
    files.CreateFolder("C:\\ZOV_LT");
    EXPECT_TRUE(fs::is_directory(space.DriveC() / "ZOV_LT"));
    EXPECT_TRUE(files.PathOK("C:\\ZOV_LT"));
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("C:\\ZOV_LT"); }), kvl::kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("C:\\none\\deeper"); }), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("Z:\\sys\\zovlt"); }), kvl::kPermissionDenied);
}

TEST_F(HostFilesTest, PathOKFindsFilesFoldersAndHiddenFilesAndNeverFails) {
    space.Write(space.DriveC() / ".oculto", "");
    EXPECT_TRUE(files.PathOK("C:\\.oculto"));
    EXPECT_TRUE(files.PathOK("C:"));
    EXPECT_FALSE(files.PathOK("C:\\nada"));
    EXPECT_FALSE(files.PathOK(""));
    EXPECT_FALSE(files.PathOK("Q:\\x"));
}

TEST_F(HostFilesTest, CopyOverwritesAndKeepsTheContent) {
    space.Write(space.DriveC() / "a.txt", "novo");
    space.Write(space.DriveC() / "b.txt", "antigo e mais comprido");
    files.CopyFile("C:\\a.txt", "C:\\b.txt");
    EXPECT_EQ(space.Read(space.DriveC() / "b.txt"), "novo");
}

TEST_F(HostFilesTest, CopyFailuresCarryTheClassicNumbers) {
    space.Write(space.DriveC() / "a.txt", "x");
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\nada.txt", "C:\\b.txt"); }), kvl::kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\a.txt", "C:\\nada\\b.txt"); }), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\a.txt", "Z:\\sys\\zovlt.txt"); }),
              kvl::kPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\a.txt", "Z:\\dev\\full"); }), kvl::kDiskFull);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:", "C:\\b.txt"); }), kvl::kPathFileAccessError);
}

TEST_F(HostFilesTest, DeleteReportsAMissingFile) {
    space.Write(space.DriveC() / "a.txt", "x");
    files.DeleteFile("C:\\a.txt");
    EXPECT_FALSE(fs::exists(space.DriveC() / "a.txt"));
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile("C:\\a.txt"); }), kvl::kFileNotFound);
}

// --- Programs and automation classes ---------------------------------------------------------

TEST(ProcessesTest, ProgramsAreFoundInTheOwnFolderFirstAndMissingOnesFail) {
    const CommandLine command = ResolveCommand("regsvr32 C:\\ZOV_LT\\DLL\\KVL2005.dll /s");
    EXPECT_EQ(command.program, fs::path(BIN_DIR) / "regsvr32");
    EXPECT_EQ(command.arguments, QStringList({"C:\\ZOV_LT\\DLL\\KVL2005.dll", "/s"}));
    EXPECT_EQ(ResolveCommand("sh -c \"exit 0\"").arguments, QStringList({"-c", "exit 0"}));
    Workspace space;
    const DriveMap drives(space.DriveC());
    EXPECT_EQ(ErrorOf([&] { StartDetachedHidden("zovlt-no-such-program /s", drives); }),
              kvl::kFileNotFound);
    const fs::path notAProgram = space.Root() / "leia-me.txt";
    space.Write(notAProgram, "text");
    fs::permissions(notAProgram, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ErrorOf([&] { StartDetachedHidden(notAProgram.string(), drives); }),
              kvl::kPermissionDenied);
}

TEST(ClassRegistryTest, LinesNameClassesInAnyCase) {
    Workspace space;
    space.Write(space.ClassesFile(),
                "# comment\r\n\r\n AutoCAD.Application = cad-standin --state x\r\n=x\n");
    const auto registry = ClassRegistry::Load(space.ClassesFile().string());
    EXPECT_EQ(registry.CommandFor("autocad.application"), "cad-standin --state x");
    EXPECT_EQ(registry.CommandFor("Outra.Classe"), std::nullopt);
    EXPECT_THROW(ClassRegistry::Load("/nonexistent/classes"), std::runtime_error);
}

TEST(ClassRegistryTest, ObjectsThatCannotBeCreatedFailWith429) {
    Workspace space;
    space.Write(space.ClassesFile(),
                "Sem.Programa=zovlt-no-such-program\nNunca.Pronto=sh -c \"exit 3\"\n");
    const auto registry = ClassRegistry::Load(space.ClassesFile().string());
    const DriveMap drives(space.DriveC());
    for (const char* name : {"AutoCAD.Application", "Sem.Programa", "Nunca.Pronto"}) {
        EXPECT_EQ(ErrorOf([&] { CreateAutomationObject(registry, name, drives); }),
                  kvl::kCannotCreateObject)
            << name;
    }
}

// --- Message boxes ---------------------------------------------------------------------------

TEST(MessageStyleTest, FlagsGiveButtonsIconAndDefault) {
    const MessageStyle confirm = DecodeMessageFlags(321);
    EXPECT_THAT(confirm.buttons, ElementsAre(kButtonOk, kButtonCancel));
    EXPECT_EQ(confirm.icon, MessageIcon::Information);
    EXPECT_EQ(confirm.defaultButton, 1u);
    const MessageStyle stageError = DecodeMessageFlags(53);
    EXPECT_THAT(stageError.buttons, ElementsAre(kButtonRetry, kButtonCancel));
    EXPECT_EQ(stageError.icon, MessageIcon::Warning);
    EXPECT_EQ(stageError.defaultButton, 0u);
    const MessageStyle abort = DecodeMessageFlags(274);
    EXPECT_THAT(abort.buttons, ElementsAre(kButtonAbort, kButtonRetry, kButtonIgnore));
    EXPECT_EQ(abort.icon, MessageIcon::Error);
    EXPECT_EQ(abort.defaultButton, 1u);
    EXPECT_EQ(DecodeMessageFlags(0 + 512).defaultButton, 0u);  // no third button
}

TEST(MessageStyleTest, UnattendedAnswersConfirmButNeverRetry) {
    EXPECT_EQ(UnattendedAnswer(DecodeMessageFlags(321)), kButtonOk);
    EXPECT_EQ(UnattendedAnswer(DecodeMessageFlags(36)), kButtonYes);
    EXPECT_EQ(UnattendedAnswer(DecodeMessageFlags(53)), kButtonCancel);
    EXPECT_EQ(UnattendedAnswer(DecodeMessageFlags(274)), kButtonAbort);
    EXPECT_EQ(UnattendedAnswer(DecodeMessageFlags(64)), kButtonOk);
}

// --- Command line and wire format ------------------------------------------------------------

TEST(OptionsTest, ValuesAndErrors) {
    const auto parsed =
        ParseOptions({"--unattended", "--drive-c", "/c", "--classes", "k", "--source", "s"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_TRUE(parsed.options.unattended);
    EXPECT_EQ(parsed.options.driveC, "/c");
    EXPECT_EQ(parsed.options.classes, "k");
    EXPECT_EQ(parsed.options.source, "s");
    EXPECT_FALSE(ParseOptions({"--drive-c"}).error.empty());
    EXPECT_FALSE(ParseOptions({"--source", ""}).error.empty());
    EXPECT_FALSE(ParseOptions({"-platform"}).error.empty());
    EXPECT_TRUE(ParseOptions({"--help"}).options.help);
}

TEST(WireTest, FieldsSurviveTabsLineBreaksAndPercents) {
    const std::vector<std::string> fields = {"put", "Preferences.Files.SupportPath",
                                             "C:\\a;50%\tb\r\nc", ""};
    const std::string line = wire::JoinFields(fields);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(wire::SplitFields(line), fields);
    EXPECT_THAT(wire::SplitFields("ok\t%zz%4"), ElementsAre("ok", "%zz%4"));
}

}  // namespace
}  // namespace zovlt::test
