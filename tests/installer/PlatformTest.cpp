// The Linux platform layer: file operations on Windows paths and their error numbers, programs
// and the class registry.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include "Workspace.h"
#include "platform/AutomationClient.h"
#include "platform/ClassRegistry.h"
#include "platform/HostFiles.h"
#include "platform/Processes.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// --- Files --------------------------------------------------------------------------------------

class HostFilesTest : public ::testing::Test {
  protected:
    HostFilesTest() : files(winhost::DriveMap(space.DriveC())) {}
    Workspace space;
    HostFiles files;
};

TEST_F(HostFilesTest, ListingGivesNormalFilesByPatternInAnyCaseOrder) {
    // LEIAME has no dot but still matches "*.*"; a backslash makes no Windows file name; sub.txt
    // is a folder, pipe.txt a system file.
    for (const char* name :
         {"b.txt", "A.txt", "c.dwg", "LEIAME", ".hidden.txt", "x\\..\\..\\fora.txt", "sub.txt/x"}) {
        space.Write(space.DriveC() / "d" / name, "");
    }
    ASSERT_EQ(mkfifo((space.DriveC() / "d" / "pipe.txt").c_str(), 0600), 0);
    EXPECT_THAT(files.ListFiles("C:\\d\\*.*"), ElementsAre("A.txt", "b.txt", "c.dwg", "LEIAME"));
    EXPECT_THAT(files.ListFiles("C:\\d\\*.TXT"), ElementsAre("A.txt", "b.txt"));
    fs::create_directories(space.DriveC() / "empty");
    EXPECT_TRUE(files.ListFiles("C:\\empty\\*.*").empty());
    EXPECT_EQ(ErrorOf([&] { files.ListFiles("C:\\missing\\*.*"); }), kvl::kPathNotFound);
}

TEST_F(HostFilesTest, FoldersAreCreatedOneLevelAtATimeAndPathOKNeverFails) {
    files.CreateFolder("C:\\ZOV_LT");
    EXPECT_TRUE(fs::is_directory(space.DriveC() / "ZOV_LT"));
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("C:\\ZOV_LT"); }), kvl::kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("C:\\none\\deeper"); }), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CreateFolder("Z:\\sys\\zovlt"); }), kvl::kPermissionDenied);
    space.Write(space.DriveC() / ".oculto", "");
    EXPECT_TRUE(files.PathOK("C:\\.oculto"));
    EXPECT_FALSE(files.PathOK(""));
    EXPECT_FALSE(files.PathOK("Q:\\x"));
}

// Replacing a file whole is proven with the Windows host layer's own tests.
TEST_F(HostFilesTest, CopyOverwritesDeleteRemovesAndFailuresCarryTheClassicNumbers) {
    space.Write(space.DriveC() / "a.txt", "novo");
    space.Write(space.DriveC() / "b.txt", "antigo e mais comprido");
    files.CopyFile("C:\\a.txt", "C:\\b.txt");
    EXPECT_EQ(space.Read(space.DriveC() / "b.txt"), "novo");
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\nada.txt", "C:\\b.txt"); }), kvl::kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\a.txt", "C:\\nada\\b.txt"); }), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\a.txt", "Z:\\sys\\zovlt.txt"); }),
              kvl::kPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:", "C:\\b.txt"); }), kvl::kPathFileAccessError);
    files.DeleteFile("C:\\b.txt");
    EXPECT_FALSE(fs::exists(space.DriveC() / "b.txt"));
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile("C:\\b.txt"); }), kvl::kFileNotFound);
}

// --- Programs and automation classes ------------------------------------------------------------

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
}

TEST(ClassRegistryTest, LinesNameClassesInAnyCaseAndObjectsThatCannotBeCreatedFailWith429) {
    Workspace space;
    space.Write(space.ClassesFile(),
                "# comment\r\n\r\n AutoCAD.Application = cad-standin --state x\r\n=x\n"
                "Sem.Programa=zovlt-no-such-program\nNunca.Pronto=sh -c \"exit 3\"\n");
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
