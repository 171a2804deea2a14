// The program itself: a registry file, a staging folder with the four components (the
// library a SQLite file) and targets under a temporary drive C:.

#include <gmock/gmock.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "Helpers.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

using ::testing::HasSubstr;

struct Outcome {
    int status;
    std::string output;
};

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder : {"Dados/Warehouse", "Programas/Cartelix", "Dados/Workspace"}) {
            fs::create_directories(driveC_ / folder);
        }
        fs::create_directories(staging_);
        for (const char* file : {"PDM Warehouse.mdb", "PDM Simbologia.fsm", "PDM Simbologia.pdf"}) {
            std::ofstream(staging_ / file) << file;
        }
        RunOn(staging_ / "PDM Biblioteca.mdb",
              {"CREATE TABLE StyleProperties (Name TEXT, PropertyValue TEXT)",
               "INSERT INTO StyleProperties VALUES ('Source', 'C:\\old\\PDM.fsm;9')",
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Location TEXT)"});
        // Only the Professional edition's key is installed.
        std::ofstream(registry_, std::ios::binary) << Utf16Export(
            u"Windows Registry Editor Version 5.00\r\n\r\n"
            u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
            u"\"DefaultJCache\"=\"Cartelix Professional 06.00.34.68\"\r\n\r\n"
            u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup]\r\n"
            u"\"WarehouseTarget\"=\"C:\\\\Dados\\\\Warehouse\\\\\"\r\n"
            u"\"Path\"=\"C:\\\\Programas\\\\Cartelix\\\\\"\r\n"
            u"\"WorkspaceTarget\"=\"C:\\\\Dados\\\\Workspace\\\\\"\r\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    Outcome Setup(const std::string& arguments, const std::string& environment = "") {
        const std::string command = environment + " '" SYMBOLOGY_SETUP "' --drive-c '" +
                                    driveC_.string() + "' --registry '" + registry_.string() +
                                    "' --staging '" + staging_.string() + "' " + arguments;
        Outcome run{-1, ""};
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[512];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.output.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    fs::path root_ = NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    fs::path staging_ = root_ / "stage";
    fs::path registry_ = root_ / "system.reg";
};

TEST_F(EndToEndTest, InstallsToTheTargetsAndRepointsTheLibraryThere) {
    // The symbology's folder given as a host folder, which the chooser writes as C:\Simbolos.
    fs::create_directories(driveC_ / "Simbolos");
    const Outcome run = Setup("--unattended --target '2=" + (driveC_ / "Simbolos").string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("PDM Simbologia.fsm -> C:\\Simbolos\\PDM Simbologia.fsm\n"));
    EXPECT_THAT(run.output, HasSubstr("\nInstalação concluida.\n"));
    for (const char* file :
         {"Dados/Warehouse/PDM Warehouse.mdb", "Simbolos/PDM Simbologia.fsm",
          "Dados/Workspace/PDM Biblioteca.mdb", "Programas/Cartelix/PDM Simbologia.pdf"}) {
        EXPECT_TRUE(fs::is_regular_file(driveC_ / file)) << file;
    }
    const fs::path library = driveC_ / "Dados/Workspace/PDM Biblioteca.mdb";
    EXPECT_EQ(RowsOf(library, "SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Simbolos\\PDM Simbologia.fsm;9"});
}

TEST_F(EndToEndTest, CommandLineUsage) {
    EXPECT_EQ(Setup("--version").output, "symbology-setup 1.0.0\n");
    for (const char* bad : {"--target 9=C:", "--target 1=", "--target C:", "--target 2=simbolos",
                            "--target 2=D:\\x", "--bogus", "--staging", "--log /nonexistent/x"}) {
        EXPECT_EQ(Setup(std::string("--unattended ") + bad).status, 2) << bad;
    }
    // Answers are button names; anything else is bad usage before any window shows.
    EXPECT_EQ(Setup("", "QT_QPA_PLATFORM=offscreen SYMBOLOGY_SETUP_ANSWERS=1").status, 2);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados/Warehouse/PDM Warehouse.mdb"));
}

}  // namespace
}  // namespace setup::testing
