// The installer's behaviour, on a machine and a window held in memory.

#include <gtest/gtest.h>

#include "Fakes.h"
#include "logic/Repoint.h"
#include "logic/SetupLogic.h"

namespace setup::testing {
namespace {

constexpr const char* kProfessional = "Cartelix Professional";
constexpr const char* kStandard = "Cartelix";

class LogicTest : public ::testing::Test {
  protected:
    // Loads with the key the probe's edition should pick, the other key absent.
    bool Load(const std::string& probe, const std::string& key) {
        InstallProduct(platform, probe, key);
        return logic.Form_Load();
    }
    bool Load() { return Load("Cartelix Professional 06.00", kProfessional); }

    FakePlatform platform;
    FakeView view;
    SetupLogic logic{view, platform};
};

struct EditionCase {
    const char* probe;
    const char* key;
};

class EditionTest : public LogicTest, public ::testing::WithParamInterface<EditionCase> {};

TEST_P(EditionTest, ReadsTheTargetsOfTheEditionTheProbeNames) {
    ASSERT_TRUE(Load(GetParam().probe, GetParam().key));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(logic.Target(kWarehouse), "C:\\Dados\\Warehouse\\");
    EXPECT_EQ(logic.Target(kSymbology), "C:\\Programas\\Cartelix\\Symbols\\");
    EXPECT_EQ(logic.Target(kLibrary), "C:\\Dados\\Workspace\\");
    EXPECT_EQ(logic.Target(kDocumentation), "C:\\Programas\\Cartelix\\");
}

INSTANTIATE_TEST_SUITE_P(
    Probes, EditionTest,
    ::testing::Values(EditionCase{"Cartelix Professional 06.00", kProfessional},
                      EditionCase{"cartelix PROFESSIONAL 06.00.34", kProfessional},
                      EditionCase{"06.00 professional", kProfessional},
                      EditionCase{"Cartelix 06.00.34.57", kStandard},
                      EditionCase{"Cartelix Prof 06.00", kStandard}));

TEST_F(LogicTest, AnotherVersionWarnsAndCloses) {
    for (const char* probe : {"Cartelix Professional 05.10", "Cartelix 6.0", ""}) {
        platform.messages.clear();
        EXPECT_FALSE(Load(probe, kProfessional)) << probe;
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].flags, 48);
        EXPECT_EQ(platform.messages[0].title, "Instalar Simbologia");
        EXPECT_TRUE(platform.messages[0].text.starts_with(
            "Aviso: \r\nA versão de Cartelix que dispõe não é a correcta, para usar esta "
            "simbologia, por favor use a versão 06.00\r\n\r\n"));
    }
}

TEST_F(LogicTest, LoadErrorsShowTheirMessageAndClose) {
    InstallProduct(platform, "Cartelix 06.00", kStandard);
    platform.files.erase("C:\\Temp\\PDM Simbologia.pdf");
    EXPECT_FALSE(logic.Form_Load());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Erro:\r\nFicheiro não encontrado, possível erro a descompactar os ficheiros");
    EXPECT_EQ(platform.messages[0].flags, 16);
    EXPECT_EQ(platform.messages[0].title, "Instalar Simbologia");

    // The Professional key is missing when the probe names that edition.
    platform.messages.clear();
    EXPECT_FALSE(Load("Cartelix Professional 06.00", kStandard));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Erro:\r\n-2147024894 - No value HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\"
              "Cartelix Professional\\06.00\\Setup\\WarehouseTarget");
    EXPECT_EQ(platform.messages[0].flags, 16);
}

TEST_F(LogicTest, SizesInMegabytesWithTheLocaleSeparator) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(logic.Size(kWarehouse), "2,00MB");
    EXPECT_EQ(logic.Size(kSymbology), "1,50MB");
    EXPECT_EQ(logic.Size(kLibrary), "0,00MB");
    EXPECT_EQ(logic.Size(kDocumentation), "0,01MB");
    EXPECT_EQ(SizeText(0, "."), "0.00MB");
    EXPECT_EQ(SizeText(5ull * 1024 * 1024 * 1024, "."), "5120.00MB");
}

TEST_F(LogicTest, StartsWithTheFirstComponentSelectedAndShown) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(view.items, (std::vector<std::string>{"Warehouse (*.mdb)", "Simbologia (*.fsm)",
                                                    "Biblioteca (*.mdb)", "Documentação (*.pdf)"}));
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(view.info,
              "Warehouse com temas de exemplo\r\n\r\n\r\n\r\n\r\nEste componente ocupa 2,00MB");
    EXPECT_EQ(view.location, "C:\\Dados\\Warehouse\\");
}

TEST_F(LogicTest, NodeClickShowsTheComponentAndChangesNoTarget) {
    ASSERT_TRUE(Load());
    const std::array<std::string, 4> before = {logic.Target(0), logic.Target(1), logic.Target(2),
                                               logic.Target(3)};
    for (int twice = 0; twice < 2; ++twice) {
        logic.tvOptions_NodeClick("Simbologia (*.fsm)");
        EXPECT_EQ(view.info,
                  "Ficheiro de simbologia FSM contendo a simbologia\r\n\r\n\r\n\r\n"
                  "Este componente ocupa 1,50MB");
        EXPECT_EQ(view.location, "C:\\Programas\\Cartelix\\Symbols\\");
    }
    logic.tvOptions_NodeClick("Documentação (*.pdf)");
    EXPECT_EQ(view.info, "Documentação de apoio\r\n\r\n\r\n\r\n\r\nEste componente ocupa 0,01MB");
    // Labels compare exactly.
    logic.tvOptions_NodeClick("documentação (*.pdf)");
    logic.tvOptions_NodeClick("Biblioteca");
    EXPECT_EQ(view.location, "C:\\Programas\\Cartelix\\");
    for (size_t i = 0; i < kComponentCount; ++i) EXPECT_EQ(logic.Target(i), before[i]);
}

TEST_F(LogicTest, ChosenFolderChangesOnlyTheSelectedComponent) {
    ASSERT_TRUE(Load());
    view.selected = 1;
    logic.tvOptions_NodeClick("Simbologia (*.fsm)");
    const std::string info = view.info;
    platform.chosenFolder = "D:\\Simbolos";
    logic.cmdBrowse_Click();
    EXPECT_EQ(logic.Target(kSymbology), "D:\\Simbolos\\");
    EXPECT_EQ(view.location, "D:\\Simbolos\\");
    EXPECT_EQ(view.info, info);
    EXPECT_EQ(logic.Target(kWarehouse), "C:\\Dados\\Warehouse\\");
    EXPECT_EQ(logic.Target(kLibrary), "C:\\Dados\\Workspace\\");
    EXPECT_EQ(logic.Target(kDocumentation), "C:\\Programas\\Cartelix\\");

    // A drive root already ends with its separator.
    platform.chosenFolder = "E:\\";
    logic.cmdBrowse_Click();
    EXPECT_EQ(logic.Target(kSymbology), "E:\\");
}

TEST_F(LogicTest, CancelledChooserChangesNothing) {
    ASSERT_TRUE(Load());
    logic.cmdBrowse_Click();
    EXPECT_EQ(view.location, "C:\\Dados\\Warehouse\\");
    EXPECT_EQ(logic.Target(kWarehouse), "C:\\Dados\\Warehouse\\");
}

TEST_F(LogicTest, ChooseTargetActsAsTheChooserOnThatComponent) {
    ASSERT_TRUE(Load());
    logic.ChooseTarget(kDocumentation, "C:\\Docs");
    EXPECT_EQ(view.selected, 3);
    EXPECT_EQ(logic.Target(kDocumentation), "C:\\Docs\\");
    EXPECT_EQ(view.location, "C:\\Docs\\");
    EXPECT_EQ(logic.Target(kSymbology), "C:\\Programas\\Cartelix\\Symbols\\");
}

TEST_F(LogicTest, InstallCopiesInOrderAndRepointsAtTheTargets) {
    ASSERT_TRUE(Load());
    platform.library[std::string(kSourceCommand)] = {{{"PropertyValue", "X:\\old.fsm;7"}}};
    platform.library[std::string(kConnectionsCommand)] = {{{"Location", "X:\\old.mdb"}}};
    logic.ChooseTarget(kSymbology, "D:\\Novo");

    EXPECT_TRUE(logic.cmdInstall_Click());
    const std::vector<std::pair<std::string, std::string>> copies = {
        {"C:\\Temp\\PDM Warehouse.mdb", "C:\\Dados\\Warehouse\\PDM Warehouse.mdb"},
        {"C:\\Temp\\PDM Simbologia.fsm", "D:\\Novo\\PDM Simbologia.fsm"},
        {"C:\\Temp\\PDM Biblioteca.mdb", "C:\\Dados\\Workspace\\PDM Biblioteca.mdb"},
        {"C:\\Temp\\PDM Simbologia.pdf", "C:\\Programas\\Cartelix\\PDM Simbologia.pdf"}};
    EXPECT_EQ(platform.copies, copies);
    EXPECT_EQ(platform.openedLibraries,
              std::vector<std::string>{"C:\\Dados\\Workspace\\PDM Biblioteca.mdb"});
    EXPECT_EQ(platform.library[std::string(kSourceCommand)][0]["PropertyValue"],
              "D:\\Novo\\PDM Simbologia.fsm;7");
    EXPECT_EQ(platform.library[std::string(kConnectionsCommand)][0]["Location"],
              "C:\\Dados\\Warehouse\\PDM Warehouse.mdb");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Instalação concluida.");
    EXPECT_EQ(platform.messages[0].flags, 64);
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
}

TEST_F(LogicTest, FailedInstallStepShowsItsErrorAndStops) {
    ASSERT_TRUE(Load());
    platform.copyFailure = kvl::Error(kvl::kPathNotFound);
    EXPECT_FALSE(logic.cmdInstall_Click());
    EXPECT_EQ(platform.copies.size(), 1u);
    EXPECT_TRUE(platform.openedLibraries.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Erro:\r\n76 - Path not found");
    EXPECT_EQ(platform.messages[0].flags, 16);
    // The hourglass does not outlive the failure.
    EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
}

TEST(RepointedPropertyValue, KeepsOnlyTheSecondField) {
    EXPECT_EQ(RepointedPropertyValue("a.fsm;b;c", "N.fsm"), "N.fsm;b");
    EXPECT_EQ(RepointedPropertyValue("a.fsm;;c", "N.fsm"), "N.fsm;");
    EXPECT_EQ(RepointedPropertyValue("a.fsm", "N.fsm"), "N.fsm;");
}

}  // namespace
}  // namespace setup::testing
