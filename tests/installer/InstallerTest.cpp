// The installation sequence against a scripted platform, CAD application and window, grouped by
// stage.

#include <gmock/gmock.h>

#include <functional>

#include "Fakes.h"
#include "kvl/Error.h"
#include "logic/Installer.h"
#include "logic/SupportPath.h"
#include "logic/Uninstaller.h"

namespace zovlt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr int kFailed = -2147467259;
const std::string kProgram = "Z:\\media\\dist\\bin";
const std::string kRootPattern = kProgram + "\\..\\FILES\\*.*";
const std::string kSource = kProgram + "\\..\\FILES\\";

struct FakeView : InstallView {
    // As loaded, with the terms accepted.
    bool acceptEnabled = true, installEnabled = true, installVisible = true, closeEnabled = true;
    bool progressVisible = false, busy = false;
    std::string caption;
    std::function<void()> onYield;  // runs at every yield, as window events would

    void SetProgressCaption(const std::string& text) override { caption = text; }
    void SetProgressVisible(bool visible) override { progressVisible = visible; }
    void SetAcceptEnabled(bool enabled) override { acceptEnabled = enabled; }
    void SetInstallEnabled(bool enabled) override { installEnabled = enabled; }
    void SetInstallVisible(bool visible) override { installVisible = visible; }
    void SetCloseEnabled(bool enabled) override { closeEnabled = enabled; }
    void SetCloseCaption(const std::string&) override {}
    void SetBusy(bool value) override { busy = value; }
    void Yield() override {
        if (onYield) onYield();
    }
};

// A window just loaded, with the terms accepted, on the fakes.
struct Rig {
    // Answers the confirmation with OK, then the given answers to the boxes that follow.
    Outcome Install(std::vector<winhost::Button> answers = {}) {
        answers.insert(answers.begin(), winhost::kOk);
        platform.answers = std::move(answers);
        return installer.Command1_Click();
    }
    // Answers the removal's confirmation and the boxes that follow.
    Outcome Remove(std::vector<winhost::Button> answers = {winhost::kYes}) {
        platform.answers = std::move(answers);
        platform.boxesShown = 0;
        return Uninstaller(view, platform, kProgram).Run();
    }

    FakeView view;
    FakePlatform platform;
    Installer installer{view, platform, kProgram};
};

class InstallerTest : public ::testing::Test, protected Rig {};
using UninstallerTest = InstallerTest;

// --- Window state and confirmation --------------------------------------------------------------

TEST_F(InstallerTest, CancelInConfirmationChangesNothingWhileInstallingTheControlsAreOff) {
    platform.answers = {winhost::kCancel};
    EXPECT_EQ(installer.Command1_Click(), Outcome::NotStarted);
    EXPECT_THAT(platform.log,
                ElementsAre("box 321 Antes de continuar feche todas as aplicações de AutoCAD."));
    EXPECT_TRUE(view.installEnabled && view.installVisible && view.acceptEnabled);
    EXPECT_FALSE(view.busy || installer.Installing());
    // The user may still install afterwards.
    int yields = 0;
    view.onYield = [&] {
        ++yields;
        EXPECT_TRUE(view.busy && view.progressVisible);
        EXPECT_FALSE(view.installEnabled || view.closeEnabled || view.acceptEnabled);
    };
    EXPECT_EQ(Install(), Outcome::Completed);
    EXPECT_GT(yields, 0);
}

// --- Stage errors -------------------------------------------------------------------------------

TEST_F(InstallerTest, AStageErrorOffersRetryOfTheSameStepOrCancelThatQuitsTheCadItStarted) {
    // The step that fails, its error, the message shown and whether the CAD application was
    // started by then.
    const std::tuple<std::string, int, std::string, bool> stages[] = {
        {"mkdir C:\\ZOV_LT\\blocos", kvl::kPermissionDenied,
         "Ocorreu um erro na criação dos directórios!\r\n(70) Permissão negada", false},
        {"create AutoCAD.Application", kvl::kCannotCreateObject,
         "Ocorreu um erro ao abrir o AutoCAD!\r\n(429) O componente ActiveX não consegue criar o "
         "objecto",
         false},
        {"Visible False", kFailed, "Ocorreu um erro ao abrir o AutoCAD!\r\n(-2147467259) ", true},
        {"switch", kvl::kPermissionDenied,
         "Ocorreu um erro na copia dos ficheiros!\r\n(70) Permissão negada", true},
        {"start regsvr32 C:\\ZOV_LT\\DLL\\KVL2005.dll /s", kvl::kFileNotFound,
         "Ocorreu um erro no Registo das librarias dinâmicas!\r\n(53) Ficheiro não encontrado",
         true},
        {"SetSupportPath", kFailed,
         "Ocorreu um erro na configuração do AutoCAD (Path Support)!\r\n(-2147467259) ", true},
        {"Load", kFailed, "Ocorreu um erro ao Carregar o Menu!\r\n(-2147467259) ", true},
        {"list " + kRootPattern, kvl::kPathNotFound,
         "Ocorreu um erro na copia dos ficheiros!\r\n(76) Caminho não encontrado", false},
        // The medium lacks the library: the installed one must not go first.
        {"stage " + kSource + "DLL\\KVL2005.dll > C:\\ZOV_LT\\DLL\\KVL2005.dll", kvl::kFileNotFound,
         "Ocorreu um erro no Registo das librarias dinâmicas!\r\n(53) Ficheiro não encontrado",
         false},
    };
    for (const auto& [step, number, message, cadStarted] : stages) {
        for (const winhost::Button answer : {winhost::kRetry, winhost::kCancel}) {
            SCOPED_TRACE(step + (answer == winhost::kRetry ? " retried" : " cancelled"));
            Rig rig;
            rig.platform.failures[step] = number;
            const Outcome outcome = rig.Install({answer});
            const auto boxes = rig.platform.Logged("box ");
            ASSERT_GE(boxes.size(), 2u);
            EXPECT_TRUE(boxes[1].starts_with("box 53 " + message)) << boxes[1];
            const bool retried = answer == winhost::kRetry;
            EXPECT_EQ(outcome, retried ? Outcome::Completed : Outcome::Cancelled);
            EXPECT_EQ(rig.platform.Logged(step).size(), retried ? 2u : 1u);
            if (retried) continue;
            // The progress line keeps the step that failed in view.
            EXPECT_TRUE(rig.view.progressVisible);
            EXPECT_TRUE(rig.view.caption.starts_with("Interrompido no passo: "))
                << rig.view.caption;
            EXPECT_THAT(rig.platform.Logged("undo"), ElementsAre("undo"));
            EXPECT_THAT(rig.platform.Logged("finish"), IsEmpty());
            EXPECT_EQ(boxes.size(), 2u);  // no completion message
            // An application started hidden is closed unsaved and quit, last, not left running.
            const auto& log = rig.platform.log;
            EXPECT_EQ(log.end()[-2] + ", " + log.back() == "Close 0 False, Quit", cadStarted);
            EXPECT_EQ(rig.platform.liveObjects, 0);
        }
    }
}

// --- Reinstallation and putting back ------------------------------------------------------------

// Over an earlier installation: what is there already stays, the group it loaded is replaced.
TEST_F(InstallerTest, AReinstallationKeepsFoldersAndSupportEntryAndReplacesTheFirstOwnGroup) {
    platform.existing = {"C:\\ZOV_LT", "C:\\ZOV_LT\\blocos", "C:\\ZOV_LT\\DLL"};
    platform.supportPath = "C:\\CAD\\support;C:\\ZOV_LT";
    platform.groups = {"ACAD", "zov_lt", "ZOV_LT", "ZOV_LT"};
    // The bar changes while the file loads: the menu goes before the last menu it then holds.
    platform.menuBarCount = 5;
    platform.menuBarCountAfterLoad = 7;
    platform.failures["Close"] = kFailed;
    platform.failures["Quit"] = 462;
    EXPECT_EQ(Install(), Outcome::Completed);
    EXPECT_THAT(platform.Logged("mkdir "), IsEmpty());
    EXPECT_EQ(platform.Logged("stage ").size(), 1u);  // empty source folders: the library only
    EXPECT_THAT(platform.Logged("SetSupportPath"), IsEmpty());
    EXPECT_THAT(platform.Logged("Unload "), ElementsAre("Unload 2"));
    EXPECT_THAT(platform.Logged("InsertInMenuBar "), ElementsAre("InsertInMenuBar 0 6"));
    EXPECT_LT(platform.At("Visible True"), platform.At("Load C:\\ZOV_LT\\ZOV_LT.cui"));
    // Errors while closing raise nothing: the application is still quit and released.
    EXPECT_EQ(platform.liveObjects, 0);
    // Confirmation and completion only.
    EXPECT_THAT(platform.Logged("box "),
                ElementsAre(StartsWith("box 321 "), StartsWith("box 64 Instalação Concluída.")));
}

TEST_F(InstallerTest, CancelBeforeTheSwitchPutsBackTheFilesAndFoldersAndEntersTheFinishedState) {
    platform.listings[kRootPattern] = {"a.lsp", "b.lsp"};
    platform.failures["stage " + kSource + "b.lsp > C:\\ZOV_LT\\b.lsp"] = kvl::kDiskFull;
    EXPECT_EQ(Install({winhost::kCancel}), Outcome::Cancelled);
    // Leftovers of a killed run go first; the staged a.lsp goes with the folders just made.
    EXPECT_LT(platform.At("leftovers C:\\ZOV_LT"),
              platform.At("stage " + kSource + "a.lsp > C:\\ZOV_LT\\a.lsp"));
    EXPECT_THAT(std::vector(platform.log.end() - 4, platform.log.end()),
                ElementsAre("undo", "rmdir C:\\ZOV_LT\\DLL", "rmdir C:\\ZOV_LT\\blocos",
                            "rmdir C:\\ZOV_LT"));
    EXPECT_THAT(platform.Logged("create "), IsEmpty());
    EXPECT_FALSE(view.installVisible || view.acceptEnabled || view.busy);
    EXPECT_EQ(installer.Result(), Outcome::Cancelled);
    EXPECT_TRUE(view.closeEnabled && installer.Form_QueryUnload());
    // A new attempt needs a new program start.
    EXPECT_EQ(installer.Command1_Click(), Outcome::NotStarted);
}

TEST_F(InstallerTest, AFailureAfterTheSwitchPutsBackTheConfigurationAroundTheFiles) {
    platform.existing = {"C:\\ZOV_LT", "C:\\ZOV_LT\\blocos", "C:\\ZOV_LT\\DLL"};
    platform.groups = {"ACAD", "ZOV_LT"};
    platform.failures["InsertInMenuBar"] = kFailed;
    EXPECT_EQ(Install({winhost::kCancel}), Outcome::Cancelled);
    const size_t failed = platform.At("InsertInMenuBar 0 1");
    // The new group and the support path go while the new files are in place; the previous
    // group comes back from the previous files.
    EXPECT_THAT(std::vector(platform.log.begin() + failed + 2, platform.log.end()),
                ElementsAre("MenuGroupCount", "MenuGroupName 1", "Unload 1", "MenuGroupName 0",
                            "SetSupportPath C:\\CAD\\support;C:\\CAD\\fonts", "undo",
                            "Load C:\\ZOV_LT\\ZOV_LT.cui", "MenuBarCount", "InsertInMenuBar 0 1",
                            "Close 0 False", "Quit"));
    EXPECT_EQ(platform.supportPath, "C:\\CAD\\support;C:\\CAD\\fonts");
    EXPECT_THAT(platform.groups, ElementsAre("ACAD", "ZOV_LT"));
}

// --- Removal ------------------------------------------------------------------------------------

TEST(SupportPathTest, EntriesCompareWholeInAnyCaseAndOnlyThoseNamingTheFolderGo) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\CAD\\support;C:\\ZOV_LT", "C:\\CAD\\support"},
        {"c:\\zov_lt\\;C:\\CAD; C:\\ZOV_LT ;C:\\fonts", "C:\\CAD;C:\\fonts"},
        // Only whole entries count: a longer folder or one inside it is another folder.
        {"C:\\ZOV_LTX;C:\\ZOV_LT\\blocos;D:\\C:\\ZOV_LT",
         "C:\\ZOV_LTX;C:\\ZOV_LT\\blocos;D:\\C:\\ZOV_LT"},
        {"C:\\ZOV_LT", ""},
    };
    for (const auto& [before, after] : cases) {
        EXPECT_EQ(WithoutFolder(before, "C:\\ZOV_LT"), after) << before;
        EXPECT_EQ(ListsFolder(before, "C:\\ZOV_LT"), before != after) << before;
    }
}

TEST_F(UninstallerTest, NoChangesNothingYesRemovesWhatTheInstallationAddedAfterTheCadLetsGo) {
    EXPECT_EQ(Remove({winhost::kNo}), Outcome::NotStarted);
    EXPECT_THAT(platform.log,
                ElementsAre(StartsWith("box 292 Remover o ZOV LT deste computador?")));
    platform.listings[kRootPattern] = {"ZOV_LT.cui", "leia-me.txt"};
    platform.listings[kSource + "blocos\\*.*"] = {"lote.dwg"};
    // The user's own leia-me.txt was removed meanwhile: nothing to remove there.
    platform.existing = {"C:\\ZOV_LT\\ZOV_LT.cui", "C:\\ZOV_LT\\blocos\\lote.dwg",
                         "C:\\ZOV_LT\\DLL\\KVL2005.dll"};
    platform.supportPath = "C:\\CAD\\support;C:\\ZOV_LT";
    platform.groups = {"ACAD", "ZOV_LT", "zov_lt", "ZOV_LT"};
    EXPECT_EQ(Remove(), Outcome::Completed);

    EXPECT_EQ(platform.supportPath, "C:\\CAD\\support");
    EXPECT_THAT(platform.groups, ElementsAre("ACAD", "zov_lt"));
    EXPECT_THAT(platform.Logged("Visible"), IsEmpty());
    EXPECT_THAT(platform.Logged("delete "),
                ElementsAre("delete C:\\ZOV_LT\\ZOV_LT.cui", "delete C:\\ZOV_LT\\blocos\\lote.dwg",
                            "delete C:\\ZOV_LT\\DLL\\KVL2005.dll"));
    EXPECT_LT(platform.At("Quit"), platform.At("delete C:\\ZOV_LT\\ZOV_LT.cui"));
    EXPECT_LT(platform.At("run regsvr32 /u /s C:\\ZOV_LT\\DLL\\KVL2005.dll"),
              platform.At("delete C:\\ZOV_LT\\DLL\\KVL2005.dll"));
    EXPECT_THAT(
        platform.Logged("rmdir "),
        ElementsAre("rmdir C:\\ZOV_LT\\DLL", "rmdir C:\\ZOV_LT\\blocos", "rmdir C:\\ZOV_LT"));
    EXPECT_TRUE(platform.log.back().starts_with("box 64 O ZOV LT foi removido"));
    EXPECT_EQ(platform.liveObjects, 0);
    EXPECT_FALSE(view.busy);
}

TEST_F(UninstallerTest, AFileThatCannotGoStopsTheRemovalUnchangedAndLeftoversThatStayFailIt) {
    platform.listings[kRootPattern] = {"ZOV_LT.cui", "leia-me.txt"};
    platform.existing = {"C:\\ZOV_LT\\ZOV_LT.cui", "C:\\ZOV_LT\\leia-me.txt"};
    platform.fixed = {"C:\\ZOV_LT\\leia-me.txt"};
    EXPECT_EQ(Remove(), Outcome::Cancelled);
    EXPECT_EQ(platform.Logged("box ").back(),
              "box 16 A remoção não foi feita: estes ficheiros não podem ser removidos (a unidade "
              "ou a pasta não aceita alterações). Nada foi alterado.\r\nC:\\ZOV_LT\\leia-me.txt");
    for (const char* change : {"create ", "delete ", "run ", "leftovers "}) {
        EXPECT_THAT(platform.Logged(change), IsEmpty()) << change;
    }

    // Once it may go, the leftovers of a killed run go before the folders; what remains of
    // them is a failure.
    platform.fixed.clear();
    platform.leftoversKept = {"C:\\ZOV_LT\\blocos\\.winhost-x.part"};
    EXPECT_EQ(Remove(), Outcome::Cancelled);
    EXPECT_LT(platform.At("leftovers C:\\ZOV_LT"), platform.At("rmdir C:\\ZOV_LT\\DLL"));
    EXPECT_EQ(platform.Logged("box ").back(),
              "box 16 A remoção ficou incompleta: estes ficheiros continuam neste computador."
              "\r\nC:\\ZOV_LT\\blocos\\.winhost-x.part");
}

}  // namespace
}  // namespace zovlt::test
