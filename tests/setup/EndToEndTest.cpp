// The program itself: a registry file, a staging folder with the four components (the
// library a SQLite file) and targets under a temporary drive C:.

#include <gmock/gmock.h>

#include "Helpers.h"
#include "Workspace.h"

namespace setup::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using zovlt::test::ProgramRun;

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder : {"Dados/Warehouse", "Programas/Cartelix", "Dados/Workspace"}) {
            std::filesystem::create_directories(space.DriveC() / folder);
        }
        for (const char* file : {"PDM Warehouse.mdb", "PDM Simbologia.fsm", "PDM Simbologia.pdf"}) {
            space.Write(space.Source() / file, file);
        }
        RunOn(space.Source() / "PDM Biblioteca.mdb",
              {"CREATE TABLE StyleProperties (Name TEXT, PropertyValue TEXT)",
               "INSERT INTO StyleProperties VALUES ('Source', 'C:\\old\\PDM.fsm;9')",
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Location TEXT)"});
        // Only the Professional edition's key is installed.
        space.Write(space.ClassesFile(),
                    Utf16Export(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
                                u"\"DefaultJCache\"=\"Cartelix Professional 06.00.34.68\"\r\n\r\n"
                                u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix "
                                u"Professional\\06.00\\Setup]\r\n"
                                u"\"WarehouseTarget\"=\"C:\\\\Dados\\\\Warehouse\\\\\"\r\n"
                                u"\"Path\"=\"C:\\\\Programas\\\\Cartelix\\\\\"\r\n"
                                u"\"WorkspaceTarget\"=\"C:\\\\Dados\\\\Workspace\\\\\"\r\n"));
    }

    // The workspace's program folder stands for the staging folder, its class registry's file
    // for the registry file.
    ProgramRun Setup(const QStringList& arguments, const QProcessEnvironment& environment = {}) {
        return zovlt::test::RunProgram(
            SYMBOLOGY_SETUP,
            QStringList{"--drive-c", QString::fromStdString(space.DriveC().string()), "--registry",
                        QString::fromStdString(space.ClassesFile().string()), "--staging",
                        QString::fromStdString(space.Source().string())} +
                arguments,
            environment);
    }

    zovlt::test::Workspace space;
};

TEST_F(EndToEndTest, InstallsToTheTargetsAndRepointsTheLibraryThere) {
    // The symbology's folder given as a host folder, which the chooser writes as C:\Simbolos.
    std::filesystem::create_directories(space.DriveC() / "Simbolos");
    const ProgramRun run =
        Setup({"--unattended", "--target",
               QString::fromStdString("2=" + (space.DriveC() / "Simbolos").string())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(
        run.lines,
        Contains(::testing::EndsWith("PDM Simbologia.fsm -> C:\\Simbolos\\PDM Simbologia.fsm")));
    EXPECT_EQ(run.lines.back(), "Instalação concluida.");
    for (const char* file :
         {"Dados/Warehouse/PDM Warehouse.mdb", "Simbolos/PDM Simbologia.fsm",
          "Dados/Workspace/PDM Biblioteca.mdb", "Programas/Cartelix/PDM Simbologia.pdf"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(space.DriveC() / file)) << file;
    }
    EXPECT_EQ(RowsOf(space.DriveC() / "Dados/Workspace/PDM Biblioteca.mdb",
                     "SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Simbolos\\PDM Simbologia.fsm;9"});
}

TEST_F(EndToEndTest, CommandLineUsage) {
    EXPECT_THAT(Setup({"--version"}).lines, ElementsAre("symbology-setup 1.0.0"));
    for (const char* bad : {"--target 9=C:", "--target 1=", "--target C:", "--target 2=simbolos",
                            "--target 2=D:\\x", "--bogus", "--staging", "--log /nonexistent/x"}) {
        EXPECT_EQ(Setup(QString("--unattended ").append(bad).split(' ')).exitCode, 2) << bad;
    }
    // Answers are button names; anything else is bad usage before any window shows.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SYMBOLOGY_SETUP_ANSWERS", "1");
    EXPECT_EQ(Setup({}, environment).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(space.DriveC() / "Dados/Warehouse/PDM Warehouse.mdb"));
}

}  // namespace
}  // namespace setup::testing
