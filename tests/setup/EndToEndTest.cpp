// The program itself: a registry file, a staging folder with the four components (the
// library a SQLite file) and targets under a temporary drive C:.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>

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
        for (const char* folder :
             {"Dados/Warehouse", "Programas/Cartelix/Symbols", "Dados/Workspace"}) {
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
    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

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
    ExpectFailure(
        "Erro: Ficheiro não encontrado, possível erro a descompactar os ficheiros "
        "Componente em falta: Z:");
    EXPECT_FALSE(fs::exists(driveC_ / "Dados/Warehouse/PDM Warehouse.mdb"));
}

// Wine prefixes as Wine writes them: system.reg with its header, architecture and times, keys
// with escaped backslashes, and a drive_c with the usual folders.
struct Prefix {
    const char* arch;
    const char* keyRoot;       // where the product's keys live
    const char* installedIn;   // the product's folder, as it is on disk
    const char* registryPath;  // the product's folder, as the registry spells it
};

class WinePrefixTest : public EndToEndTest, public ::testing::WithParamInterface<Prefix> {
  protected:
    void WriteSystemReg(const Prefix& prefix) {
        const std::string root = prefix.keyRoot;
        const std::string product = prefix.registryPath;
        std::ofstream(registry_) << "WINE REGISTRY Version 2\n"
                                    ";; All keys relative to \\\\Machine\n\n"
                                 << "#arch=" << prefix.arch << "\n\n"
                                 << "[" << root << "\\\\Kestrova\\\\Applications] 1700000000\n"
                                 << "#time=1da2b3c4d5e6f70\n"
                                 << "\"DefaultJCache\"=\"Cartelix Professional 06.00.34.68\"\n\n"
                                 << "[" << root
                                 << "\\\\Kestrova\\\\Cartelix Professional\\\\06.00\\\\Setup] "
                                    "1700000000\n"
                                 << "\"Path\"=\"" << product << "\"\n"
                                 << "\"WarehouseTarget\"=\"" << product << "Warehouse\\\\\"\n"
                                 << "\"WorkspaceTarget\"=\"" << product << "Workspace\\\\\"\n";
    }
};

TEST_P(WinePrefixTest, InstallsWhereTheProductIs) {
    const Prefix& prefix = GetParam();
    for (const char* folder : {"windows/system32", "Program Files", "users/Public"}) {
        fs::create_directories(driveC_ / folder);
    }
    const fs::path product = driveC_ / prefix.installedIn;
    for (const char* folder : {"Symbols", "Warehouse", "Workspace"}) {
        fs::create_directories(product / folder);
    }
    WriteSystemReg(prefix);
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* file : {"Warehouse/PDM Warehouse.mdb", "Symbols/PDM Simbologia.fsm",
                             "Workspace/PDM Biblioteca.mdb", "PDM Simbologia.pdf"}) {
        EXPECT_TRUE(fs::is_regular_file(product / file)) << file;
    }
    // The references keep the registry's spelling, which Windows reads as the same folder.
    const std::string registered = std::string(prefix.registryPath);
    const std::string unescaped = std::regex_replace(registered, std::regex(R"(\\\\)"), "\\");
    EXPECT_EQ(RowsOf(product / "Workspace" / "PDM Biblioteca.mdb",
                     "SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{unescaped + "Symbols\\PDM Simbologia.fsm;9"});
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, WinePrefixTest,
    ::testing::Values(
        // A 64-bit prefix: the 32-bit product's keys under Wow6432Node, its folder in
        // Program Files (x86).
        Prefix{"win64", "Software\\\\Wow6432Node",
               "Program Files (x86)/Kestrova/Cartelix Professional",
               "C:\\\\Program Files (x86)\\\\Kestrova\\\\Cartelix Professional\\\\"},
        // A 32-bit prefix whose registry spells the folders in other letter cases.
        Prefix{"win32", "Software", "Program Files/Kestrova/Cartelix Professional",
               "C:\\\\PROGRAM FILES\\\\kestrova\\\\cartelix professional\\\\"}));

TEST_F(EndToEndTest, AFailedRunLeavesThePreviousInstallationAsItWas) {
    ASSERT_EQ(Setup("--unattended").status, 0);
    const auto tree = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(driveC_)) {
            files[entry.path().string()] = entry.is_directory() ? "/" : Read(entry.path());
        }
        return files;
    };
    const auto before = tree();
    for (const char* file : {"PDM Warehouse.mdb", "PDM Simbologia.fsm", "PDM Simbologia.pdf"}) {
        std::ofstream(staging_ / file) << "new";
    }
    // A target folder that is missing, after the warehouse is staged.
    Outcome run = Setup("--unattended --target '2=C:\\Falta'");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("Erro: 76 - "));
    EXPECT_TRUE(tree() == before) << "the installation changed";
    // A staged library whose warehouse reference cannot be re-pointed.
    RunOn(staging_ / "PDM Biblioteca.mdb", {"DROP TABLE Connections"});
    run = Setup("--unattended");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("Erro: 3146 - "));
    EXPECT_TRUE(tree() == before) << "the installation changed";
}

TEST_F(EndToEndTest, ARunKilledWhileStagingLeavesOnlyWhatTheNextRunRemoves) {
    // The driver list, read once every component is staged, is a pipe nobody writes: the run
    // waits there with all its temporary files.
    const fs::path drivers = root_ / "odbcinst.ini";
    fs::remove(drivers);
    ASSERT_EQ(mkfifo(drivers.c_str(), 0600), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        ::dup2(::open("/dev/null", O_WRONLY), 1);
        ::execl(SYMBOLOGY_SETUP, SYMBOLOGY_SETUP, "--unattended", "--drive-c", driveC_.c_str(),
                "--registry", registry_.c_str(), "--staging", staging_.c_str(), nullptr);
        ::_exit(127);
    }
    const auto temporaries = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(driveC_)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".winhost-")) names.push_back(name);
        }
        return names;
    };
    bool running = true;
    while (temporaries().size() < 4 && (running = waitpid(pid, nullptr, WNOHANG) == 0)) {
        ::usleep(5000);
    }
    ASSERT_TRUE(running) << "the run ended before it staged every component";
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    fs::remove(drivers);
    UsePrivateDriverList(root_);
    const Outcome run = Setup("--unattended");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(temporaries(), ::testing::IsEmpty());
    for (const char* file :
         {"Dados/Warehouse/PDM Warehouse.mdb", "Programas/Cartelix/Symbols/PDM Simbologia.fsm",
          "Programas/Cartelix/PDM Simbologia.pdf"}) {
        EXPECT_EQ(Read(driveC_ / file), fs::path(file).filename().string());
    }
    EXPECT_EQ(Library("SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Programas\\Cartelix\\Symbols\\PDM Simbologia.fsm;9"});
}

TEST_F(EndToEndTest, ALibraryFolderOfAnyNameIsRepointed) {
    fs::create_directories(driveC_ / "Dados/Bib;lio{teca}=1 %20");
    const Outcome run = Setup("--unattended --target '3=C:\\Dados\\Bib;lio{teca}=1 %20'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(RowsOf(driveC_ / "Dados/Bib;lio{teca}=1 %20/PDM Biblioteca.mdb",
                     "SELECT Location FROM Connections ORDER BY ID")
                  .front(),
              "C:\\Dados\\Warehouse\\PDM Warehouse.mdb");
}

TEST_F(EndToEndTest, AHostFolderAsTargetIsMappedAsTheChooserMapsIt) {
    fs::create_directories(driveC_ / "Simbolos");
    const Outcome run = Setup("--unattended --target '2=" + (driveC_ / "Simbolos").string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Library("SELECT PropertyValue FROM StyleProperties"),
              std::vector<std::string>{"C:\\Simbolos\\PDM Simbologia.fsm;9"});
    // Each file copied is printed.
    EXPECT_THAT(run.output, HasSubstr("PDM Simbologia.fsm -> C:\\Simbolos\\PDM Simbologia.fsm\n"));
}

TEST_F(EndToEndTest, AMissingRegistryFileIsNamed) {
    fs::remove(registry_);
    ExpectFailure("Erro: -2147024894 - O ficheiro de registo " + registry_.string() +
                  " não existe.");
}

TEST_F(EndToEndTest, TheLogAndTheVersion) {
    const fs::path log = root_ / "setup.log";
    ASSERT_EQ(Setup("--unattended --log '" + log.string() + "'").status, 0);
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const char* line : {" symbology-setup 1.0.0 --drive-c ", " Ficheiro copiado: Z:\\",
                             " -> C:\\Dados\\Workspace\\PDM Biblioteca.mdb\n",
                             " Mensagem: Instalação concluida. | Resposta: OK\n"}) {
        EXPECT_THAT(text, HasSubstr(line));
    }
    EXPECT_EQ(Setup("--version").output, "symbology-setup 1.0.0\n");
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
        "Erro: -2147024894 - Não foi possível abrir a chave de registo \"HKEY_LOCAL_MACHINE\\"
        "SOFTWARE\\Kestrova\\Cartelix Professional\\06.00\\Setup\\WorkspaceTarget\" para "
        "leitura.");
}

TEST_F(EndToEndTest, BadUsageExitsWithTwo) {
    for (const char* bad : {"--target 9=C:", "--target 1=", "--target C:", "--target 2=simbolos",
                            "--target 2=D:\\x", "--bogus", "--staging", "--log /nonexistent/x"}) {
        EXPECT_EQ(Setup(std::string("--unattended ") + bad).status, 2) << bad;
    }
}

}  // namespace
}  // namespace setup::testing
