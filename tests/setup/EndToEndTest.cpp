// The program itself: a registry file, a staging folder with the four components (the
// library a SQLite file) and targets under a temporary drive C:.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
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
        UsePrivateDriverList(root_);
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
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Location TEXT)",
               "INSERT INTO Connections VALUES (1, 'C:\\old\\W.mdb'), (2, 'C:\\old\\V.mdb')"});
        WriteRegistry(u"Cartelix Professional 06.00.34.68");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Only the Professional edition's key is installed.
    void WriteRegistry(const std::u16string& probe, bool withWorkspace = true) {
        std::u16string text =
            u"Windows Registry Editor Version 5.00\r\n\r\n"
            u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
            u"\"DefaultJCache\"=\"" +
            probe +
            u"\"\r\n\r\n"
            u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup]\r\n"
            u"\"WarehouseTarget\"=\"C:\\\\Dados\\\\Warehouse\\\\\"\r\n"
            u"\"Path\"=\"C:\\\\Programas\\\\Cartelix\\\\\"\r\n";
        if (withWorkspace) text += u"\"WorkspaceTarget\"=\"C:\\\\Dados\\\\Workspace\\\\\"\r\n";
        std::ofstream(registry_, std::ios::binary) << Utf16Export(text);
    }

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

    // An unattended run that prints the message and exits with 1.
    void ExpectFailure(const std::string& message) {
        const Outcome run = Setup("--unattended");
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.output, HasSubstr(message));
    }

    std::vector<std::string> Library(const std::string& query) {
        return RowsOf(driveC_ / "Dados/Workspace/PDM Biblioteca.mdb", query);
    }

    fs::path root_ = NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    fs::path staging_ = root_ / "stage";
    fs::path registry_ = root_ / "system.reg";
};

TEST_F(EndToEndTest, InstallsToTheTargetsAndRepointsTheLibrary) {
    // The symbology's folder is given on the command line, as the folder chooser sets it.
    fs::create_directories(driveC_ / "Simbolos");
    const Outcome run = Setup("--unattended --target '2=C:\\Simbolos'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("\nInstalação concluida.\n"));
    for (const char* file :
         {"Dados/Warehouse/PDM Warehouse.mdb", "Simbolos/PDM Simbologia.fsm",
          "Dados/Workspace/PDM Biblioteca.mdb", "Programas/Cartelix/PDM Simbologia.pdf"}) {
        EXPECT_TRUE(fs::is_regular_file(driveC_ / file)) << file;
    }
    EXPECT_EQ(Library("SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Simbolos\\PDM Simbologia.fsm;9"});
    EXPECT_EQ(
        Library("SELECT Location FROM Connections ORDER BY ID"),
        (std::vector<std::string>{"C:\\Dados\\Warehouse\\PDM Warehouse.mdb", "C:\\old\\V.mdb"}));
}

TEST_F(EndToEndTest, MissingComponentEndsWithFileNotFound) {
    fs::remove(staging_ / "PDM Simbologia.pdf");
    ExpectFailure("Erro: Ficheiro não encontrado, possível erro a descompactar os ficheiros");
    EXPECT_FALSE(fs::exists(driveC_ / "Dados/Warehouse/PDM Warehouse.mdb"));
}

TEST_F(EndToEndTest, OtherVersionEndsWithTheWarningUnattendedOrInTheWindow) {
    WriteRegistry(u"Cartelix Professional 05.10");
    ExpectFailure("Aviso: A versão de Cartelix que dispõe não é a correcta");
    // The window prints its messages when their answers are scripted.
    const Outcome window = Setup("", "QT_QPA_PLATFORM=offscreen SYMBOLOGY_SETUP_ANSWERS=ok");
    EXPECT_EQ(window.status, 1);
    EXPECT_THAT(window.output, HasSubstr("Aviso: A versão de Cartelix"));
    // Answers are button names; anything else is bad usage before any window shows.
    EXPECT_EQ(Setup("", "QT_QPA_PLATFORM=offscreen SYMBOLOGY_SETUP_ANSWERS=1").status, 2);
}

TEST_F(EndToEndTest, MissingRegistryValueEndsWithTheGenericError) {
    WriteRegistry(u"Cartelix Professional 06.00", false);
    ExpectFailure(
        "Erro: -2147024894 - Unable to open registry key \"HKEY_LOCAL_MACHINE\\SOFTWARE\\"
        "Kestrova\\Cartelix Professional\\06.00\\Setup\\WorkspaceTarget\" for reading.");
}

TEST_F(EndToEndTest, BadUsageExitsWithTwo) {
    for (const char* bad :
         {"--target 9=C:", "--target 1=", "--target C:", "--bogus", "--staging"}) {
        EXPECT_EQ(Setup(std::string("--unattended ") + bad).status, 2) << bad;
    }
}

}  // namespace
}  // namespace setup::testing
