// The program itself: a registry file, a staging folder with the four components (the
// library a SQLite file) and targets under a temporary drive C:.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "SqliteLibrary.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

struct Outcome {
    int status;
    std::string output;
};

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UsePrivateDriverList(root_);
        for (const char* folder :
             {"Dados/Warehouse", "Programas/Cartelix/Symbols", "Dados/Workspace"}) {
            fs::create_directories(driveC_ / folder);
        }
        fs::create_directories(staging_);
        std::ofstream(staging_ / "PDM Warehouse.mdb") << "warehouse";
        std::ofstream(staging_ / "PDM Simbologia.fsm") << "symbols";
        std::ofstream(staging_ / "PDM Simbologia.pdf") << "manual";
        RunOn(staging_ / "PDM Biblioteca.mdb",
              {"CREATE TABLE StyleProperties (Name TEXT, PropertyValue TEXT)",
               "INSERT INTO StyleProperties VALUES ('Source', 'C:\\old\\PDM.fsm;9')",
               "CREATE TABLE Connections (ID INTEGER PRIMARY KEY, Location TEXT)",
               "INSERT INTO Connections VALUES (1, 'C:\\old\\W.mdb'), (2, 'C:\\old\\V.mdb')"});
        WriteRegistry("Cartelix Professional 06.00.34.68", true);
    }
    void TearDown() override { fs::remove_all(root_); }

    // A registry export as Windows writes it, UTF-16LE with a byte-order mark.
    void WriteRegistry(const std::string& probe, bool withWorkspace) {
        std::string text =
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Applications]\r\n"
            "\"DefaultJCache\"=\"" +
            probe +
            "\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup]\r\n"
            "\"WarehouseTarget\"=\"C:\\\\Dados\\\\Warehouse\\\\\"\r\n"
            "\"Path\"=\"C:\\\\Programas\\\\Cartelix\\\\\"\r\n";
        if (withWorkspace) text += "\"WorkspaceTarget\"=\"C:\\\\Dados\\\\Workspace\\\\\"\r\n";
        std::ofstream file(registry_, std::ios::binary);
        file << "\xFF\xFE";
        for (char c : text) file << c << '\0';
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

    std::vector<std::string> Library(const std::string& query) {
        return RowsOf(driveC_ / "Dados/Workspace/PDM Biblioteca.mdb", query);
    }

    fs::path root_ = NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    fs::path staging_ = root_ / "stage";
    fs::path registry_ = root_ / "system.reg";
};

TEST_F(EndToEndTest, InstallsAndRepointsTheLibrary) {
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Instalar Simbologia\nInstalação concluida.\n"), std::string::npos)
        << run.output;
    for (const char* file :
         {"Dados/Warehouse/PDM Warehouse.mdb", "Programas/Cartelix/Symbols/PDM Simbologia.fsm",
          "Dados/Workspace/PDM Biblioteca.mdb", "Programas/Cartelix/PDM Simbologia.pdf"}) {
        EXPECT_TRUE(fs::is_regular_file(driveC_ / file)) << file;
    }
    EXPECT_EQ(Library("SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Programas\\Cartelix\\Symbols\\PDM Simbologia.fsm;9"});
    EXPECT_EQ(
        Library("SELECT Location FROM Connections ORDER BY ID"),
        (std::vector<std::string>{"C:\\Dados\\Warehouse\\PDM Warehouse.mdb", "C:\\old\\V.mdb"}));
}

TEST_F(EndToEndTest, TargetsGivenOnTheCommandLineServeCopyAndReferences) {
    fs::create_directories(driveC_ / "Simbolos");
    const Outcome run = Setup("--unattended --target '2=C:\\Simbolos' --target '4=C:\\'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::is_regular_file(driveC_ / "Simbolos/PDM Simbologia.fsm"));
    EXPECT_TRUE(fs::is_regular_file(driveC_ / "PDM Simbologia.pdf"));
    EXPECT_EQ(Library("SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Simbolos\\PDM Simbologia.fsm;9"});
}

TEST_F(EndToEndTest, MissingComponentEndsWithFileNotFound) {
    fs::remove(staging_ / "PDM Simbologia.pdf");
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Erro:\nFicheiro não encontrado, possível erro a descompactar os "
                              "ficheiros"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(driveC_ / "Dados/Warehouse/PDM Warehouse.mdb"));
}

TEST_F(EndToEndTest, OtherVersionEndsWithTheWarning) {
    WriteRegistry("Cartelix Professional 05.10", true);
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Aviso: \nA versão de Cartelix que dispõe não é a correcta"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Instalação concluida."), std::string::npos);
}

TEST_F(EndToEndTest, MissingRegistryValueEndsWithTheGenericError) {
    WriteRegistry("Cartelix Professional 06.00", false);
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Erro:\n-2147024894 - Unable to open registry key "
                              "\"HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Cartelix Professional\\"
                              "06.00\\Setup\\WorkspaceTarget\" for reading."),
              std::string::npos)
        << run.output;
}

TEST_F(EndToEndTest, FailedCopyEndsWithItsError) {
    fs::remove_all(driveC_ / "Dados/Workspace");
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Erro:\n76 - Path not found"), std::string::npos) << run.output;
    // The steps before the failure stay done.
    EXPECT_TRUE(fs::is_regular_file(driveC_ / "Programas/Cartelix/Symbols/PDM Simbologia.fsm"));
}

TEST_F(EndToEndTest, WindowWithScriptedAnswersPrintsItsMessages) {
    WriteRegistry("Cartelix 05.10", true);
    const Outcome run = Setup("", "QT_QPA_PLATFORM=offscreen SYMBOLOGY_SETUP_ANSWERS=1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Instalar Simbologia\nAviso: \n"), std::string::npos) << run.output;
}

TEST_F(EndToEndTest, BadUsageExitsWithTwo) {
    EXPECT_EQ(Setup("--unattended --target 9=C:\\").status, 2);
    EXPECT_EQ(Setup("--bogus").status, 2);
}

}  // namespace
}  // namespace setup::testing
