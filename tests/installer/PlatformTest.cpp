// The Linux platform layer: programs and the class registry (its files are winhost's).

#include <gmock/gmock.h>

#include "Workspace.h"
#include "platform/AutomationClient.h"
#include "platform/ClassRegistry.h"
#include "platform/Processes.h"

namespace zovlt::test {
namespace {

namespace fs = std::filesystem;

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
    // Run to its end: what it did is there when the call returns.
    RunHiddenToEnd(
        "sh -c \"sleep 0.2; echo feito > '" + (space.DriveC() / "marca").string() + "'\"", drives);
    EXPECT_EQ(space.Read(space.DriveC() / "marca"), "feito\n");
}

TEST(ClassRegistryTest, LinesNameClassesInAnyCaseAndObjectsThatCannotBeCreatedFailWith429) {
    Workspace space;
    // Saved as UTF-8 with a byte-order mark, as editors on Windows do.
    space.Write(space.ClassesFile(),
                "\xEF\xBB\xBF AutoCAD.Application = cad-standin --state x\r\n# comment\r\n\r\n=x\n"
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
