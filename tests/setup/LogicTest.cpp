// The installer's behaviour, on a machine and a window held in memory: the installation,
// the record it leaves and the removal that follows it.

#include <gmock/gmock.h>

#include <algorithm>

#include "Fakes.h"
#include "logic/Removal.h"
#include "logic/SetupLogic.h"
#include "logic/Texts.h"

namespace setup::testing {
namespace {

using ::testing::Contains;
using ::testing::Not;
using ::testing::StartsWith;

constexpr const char* kProfessional = "Cartelix Professional";

class LogicTest : public ::testing::Test {
  protected:
    // Loads with only the given edition's key installed.
    bool Load(const std::string& probe = "Cartelix Professional 06.00",
              const std::string& key = kProfessional) {
        InstallProduct(platform, probe, key);
        return logic.Form_Load();
    }

    FakePlatform platform;
    FakeView view;
    SetupLogic logic{view, platform};
};

TEST_F(LogicTest, TheProbeNamesTheEditionAnotherVersionIsWarnedOfAMissingComponentNamed) {
    // Only the expected edition's key is installed, so the wrong choice fails the load.
    for (const auto& [probe, key] : std::vector<std::pair<std::string, std::string>>{
             {"06.00.34 cartelix PROFESSIONAL", kProfessional},
             {"Cartelix Prof 06.00", "Cartelix"}}) {
        EXPECT_TRUE(Load(probe, key)) << probe;
    }
    EXPECT_TRUE(platform.messages.empty());

    // The warning's text is checked by the end-to-end tests.
    for (const char* probe : {"Cartelix Professional 05.10", "Cartelix 6.0", ""}) {
        EXPECT_FALSE(Load(probe)) << probe;
        EXPECT_EQ(platform.messages.back().flags, 48);
    }
    EXPECT_EQ(platform.messages.size(), 3u);

    platform.files.erase("C:\\Temp\\PDM Simbologia.pdf");
    EXPECT_FALSE(logic.Form_Load());
    EXPECT_EQ(platform.messages.back().text,
              "Erro:\r\nFicheiro não encontrado, possível erro a descompactar os ficheiros\r\n"
              "Componente em falta: C:\\Temp\\PDM Simbologia.pdf");
}

TEST_F(LogicTest, TheClickedComponentShowsAndAChosenFolderChangesOnlyTheSelectedOne) {
    ASSERT_TRUE(Load());
    view.selected = 1;
    logic.tvOptions_NodeClick("Simbologia (*.fsm)");
    EXPECT_EQ(view.info,
              "Ficheiro de simbologia FSM contendo a simbologia\r\n\r\n\r\n\r\n"
              "Este componente ocupa 1,50MB");
    EXPECT_EQ(view.location, "C:\\Programas\\Cartelix\\Symbols\\");
    logic.tvOptions_NodeClick("Documentação (*.pdf)");
    EXPECT_EQ(view.info, "Documentação de apoio\r\n\r\n\r\n\r\n\r\nEste componente ocupa 0,01MB");
    // Labels compare exactly; an unknown one changes nothing.
    logic.tvOptions_NodeClick("simbologia (*.fsm)");
    EXPECT_EQ(view.location, "C:\\Programas\\Cartelix\\");
    const std::string info = view.info;

    logic.cmdBrowse_Click();  // cancelled
    EXPECT_EQ(logic.Target(kSymbology), "C:\\Programas\\Cartelix\\Symbols\\");
    platform.chosenFolder = "D:\\Simbolos";
    logic.cmdBrowse_Click();
    // The chooser opens where the selected component would go now.
    EXPECT_EQ(platform.chooserStart, "C:\\Programas\\Cartelix\\Symbols\\");
    EXPECT_EQ(logic.Target(kSymbology), "D:\\Simbolos\\");
    EXPECT_EQ(view.location, "D:\\Simbolos\\");
    EXPECT_EQ(view.info, info);
    EXPECT_EQ(logic.Target(kLibrary), "C:\\Dados\\Workspace\\");

    // A drive root already ends with its separator.
    platform.chosenFolder = "E:\\";
    logic.cmdBrowse_Click();
    EXPECT_EQ(logic.Target(kSymbology), "E:\\");
    // A folder given as a path is written as the chooser writes it, never above its drive.
    logic.ChooseTarget(kLibrary, "C:\\..\\..\\..\\etc\\.\\x/");
    EXPECT_EQ(logic.Target(kLibrary), "C:\\etc\\x\\");
}

TEST_F(LogicTest, AllFilesAreStagedAndTheLibraryRepointedThereBeforeAnyTakesItsPlace) {
    ASSERT_TRUE(Load());
    EXPECT_TRUE(logic.cmdInstall_Click());
    EXPECT_EQ(
        platform.steps,
        (Steps{"leftovers C:\\Dados\\Warehouse\\", "leftovers C:\\Programas\\Cartelix\\Symbols\\",
               "leftovers C:\\Dados\\Workspace\\", "leftovers C:\\Programas\\Cartelix\\",
               "stage C:\\Temp\\PDM Warehouse.mdb > C:\\Dados\\Warehouse\\PDM Warehouse.mdb",
               "stage C:\\Temp\\PDM Simbologia.fsm > "
               "C:\\Programas\\Cartelix\\Symbols\\PDM Simbologia.fsm",
               "stage C:\\Temp\\PDM Biblioteca.mdb > C:\\Dados\\Workspace\\PDM Biblioteca.mdb",
               "stage C:\\Temp\\PDM Simbologia.pdf > C:\\Programas\\Cartelix\\PDM Simbologia.pdf",
               "open C:\\Dados\\Workspace\\PDM Biblioteca.mdb.part", "switch", "finish",
               "write C:\\ProgramData\\symbology-setup\\instalacao.txt"}));

    // A file that cannot be staged, a library that cannot be re-pointed, or files that cannot
    // all take their places leave every installed file as it was, and no hourglass.
    struct Failure {
        std::optional<kvl::Error>* at;
        kvl::Error error;
        std::string message;
    };
    const Failure failures[] = {
        {&platform.stageFailure, kvl::Error(kvl::kPathNotFound), "76 - Caminho não encontrado"},
        {&platform.openFailure, kvl::Error(3146, "[HY000] database is locked"),
         "3146 - [HY000] database is locked"},
        {&platform.switchFailure, kvl::Error(kvl::kPermissionDenied), "70 - Permissão negada"}};
    for (const Failure& failure : failures) {
        platform.steps.clear();
        platform.messages.clear();
        view.busy.clear();
        *failure.at = failure.error;
        EXPECT_FALSE(logic.cmdInstall_Click());
        failure.at->reset();
        EXPECT_EQ(platform.steps.back(), "dropped");
        EXPECT_EQ(std::ranges::count(platform.steps, "switch"),
                  failure.at == &platform.switchFailure);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Erro:\r\n" + failure.message);
        EXPECT_EQ(platform.messages[0].flags, 16);
        EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
    }
}

const std::string kManifest(kManifestFile);
const std::string kLibraryFile = "C:\\Dados\\Workspace\\PDM Biblioteca.mdb";
const std::string kOriginal = kLibraryFile + ".original";

class RemovalTest : public LogicTest {
  protected:
    // Installs over a library the user had, as the product's setup placed it.
    void SetUp() override {
        ASSERT_TRUE(Load());
        platform.files[kLibraryFile] = 1;
        ASSERT_TRUE(logic.cmdInstall_Click());
        platform.steps.clear();
    }
    // Runs a removal; the steps and messages are its own.
    bool Remove(std::vector<winhost::Button> answers = {winhost::kYes}) {
        platform.steps.clear();
        platform.messages.clear();
        platform.answers = std::move(answers);
        return SetupRemoval(platform).Run();
    }
};

// What the installation recorded shows in what the removal does.
TEST_F(RemovalTest, RemovesThePlacedFilesPutsTheOriginalBackAndASecondRemovalFindsNothing) {
    // Installing again keeps the first original: the library now there is the installed one.
    platform.files[kOriginal] = 1;
    ASSERT_TRUE(logic.cmdInstall_Click());
    EXPECT_THAT(platform.steps, Not(Contains(StartsWith("copy "))));

    platform.files = {{"C:\\Dados\\Warehouse\\PDM Warehouse.mdb", 1},
                      {kLibraryFile, 1},
                      {kOriginal, 1}};  // the symbology file and the help are gone already
    EXPECT_TRUE(Remove());
    EXPECT_EQ(platform.steps,
              (Steps{"delete C:\\Dados\\Warehouse\\PDM Warehouse.mdb",
                     "copy " + kOriginal + " > " + kLibraryFile, "delete " + kOriginal,
                     "leftovers C:\\Dados\\Warehouse", "leftovers C:\\Programas\\Cartelix\\Symbols",
                     "leftovers C:\\Dados\\Workspace", "leftovers C:\\Programas\\Cartelix",
                     "delete " + kManifest}));
    EXPECT_EQ(platform.messages.back().text, kRemoved);

    EXPECT_TRUE(Remove());
    EXPECT_TRUE(platform.steps.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kNothingToRemove);
}

TEST_F(RemovalTest, NoOrAFileThatCannotGoChangesNothing) {
    platform.files[kOriginal] = 1;
    EXPECT_FALSE(Remove({winhost::kNo}));
    EXPECT_EQ(platform.messages[0].flags, kConfirmRemovalFlags);

    platform.fixed = {kOriginal};
    EXPECT_FALSE(Remove());
    EXPECT_TRUE(platform.steps.empty());
    EXPECT_EQ(platform.messages.back().text, std::string(kCannotRemove) + "\r\n" + kOriginal);
    EXPECT_EQ(platform.messages.back().flags, winhost::kCritical);
    EXPECT_TRUE(platform.texts.contains(kManifest));
}

}  // namespace
}  // namespace setup::testing
