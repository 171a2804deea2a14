// The installation sequence against a scripted platform, grouped by stage.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "FakeInstall.h"
#include "Installer.h"
#include "kvl/Error.h"

namespace zovlt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kProgram = "Z:\\media\\dist\\bin";
const std::string kRootPattern = kProgram + "\\..\\FILES\\*.*";
const std::string kBlocksPattern = kProgram + "\\..\\FILES\\blocos\\*.*";
const std::string kSource = kProgram + "\\..\\FILES\\";

class InstallerTest : public ::testing::Test {
  protected:
    InstallerTest() : installer(view, platform, kProgram) {
        installer.FormLoad();
        installer.AcceptClicked(1);
    }

    // Answers the confirmation with OK, then the given answers to the boxes that follow.
    Outcome Run(std::deque<int> answers = {}) {
        answers.push_front(kButtonOk);
        platform.answers = std::move(answers);
        return installer.InstallClicked();
    }

    std::vector<std::string> Copies() const { return platform.Logged("copy "); }

    FakeView view;
    FakePlatform platform;
    Installer installer;
};

// --- Window state -------------------------------------------------------------------------

TEST_F(InstallerTest, ClosingIsRefusedOnlyWhileInstalling) {
    EXPECT_TRUE(installer.QueryUnload());
    std::vector<bool> duringYields;
    view.onYield = [&] { duringYields.push_back(installer.QueryUnload()); };
    Run();
    ASSERT_FALSE(duringYields.empty());
    EXPECT_THAT(duringYields, ::testing::Each(false));
    EXPECT_TRUE(installer.QueryUnload());
}

TEST_F(InstallerTest, ControlsAreShutOffWhileInstalling) {
    bool checked = false;
    view.onYield = [&] {
        if (checked) return;
        checked = true;
        EXPECT_TRUE(view.busy);
        EXPECT_FALSE(view.installEnabled);
        EXPECT_FALSE(view.closeEnabled);
        EXPECT_FALSE(view.acceptEnabled);
        EXPECT_TRUE(view.progressVisible);
    };
    Run();
    EXPECT_TRUE(checked);
}

TEST_F(InstallerTest, LinksOpenTheirTargets) {
    installer.OpenLink(Link::MakerSite);
    installer.OpenLink(Link::AgencySite);
    installer.OpenLink(Link::SupportMail);
    const auto links = platform.Logged("link ");
    ASSERT_EQ(links.size(), 3u);
    EXPECT_TRUE(links[0].starts_with("link https://"));
    EXPECT_TRUE(links[1].starts_with("link https://"));
    EXPECT_NE(links[0], links[1]);
    EXPECT_TRUE(links[2].starts_with("link mailto:"));
}

// --- Confirmation ---------------------------------------------------------------------------

TEST_F(InstallerTest, CancelInConfirmationChangesNothing) {
    platform.answers = {kButtonCancel};
    EXPECT_EQ(installer.InstallClicked(), Outcome::NotStarted);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Antes de continuar feche todas as aplicações de AutoCAD.");
    EXPECT_EQ(platform.boxes[0].flags, 321);
    EXPECT_THAT(platform.log, IsEmpty());
    EXPECT_TRUE(view.installEnabled);
    EXPECT_TRUE(view.installVisible);
    EXPECT_TRUE(view.acceptEnabled);
    EXPECT_FALSE(view.busy);
    EXPECT_FALSE(installer.Installing());
    // The user may still install afterwards.
    EXPECT_EQ(Run(), Outcome::Completed);
}

// --- Stage 1: folders -----------------------------------------------------------------------

TEST_F(InstallerTest, MissingFoldersAreCreatedInOrder) {
    Run();
    EXPECT_THAT(
        platform.Logged("mkdir "),
        ElementsAre("mkdir C:\\ZOV_LT", "mkdir C:\\ZOV_LT\\blocos", "mkdir C:\\ZOV_LT\\DLL"));
    EXPECT_EQ(view.captions.front(), "Criar pastas de instalação");
}

TEST_F(InstallerTest, ExistingFoldersAreLeftAloneWithoutError) {
    platform.existing = {"C:\\ZOV_LT", "C:\\ZOV_LT\\blocos", "C:\\ZOV_LT\\DLL"};
    EXPECT_EQ(Run(), Outcome::Completed);
    EXPECT_THAT(platform.Logged("mkdir "), IsEmpty());
    EXPECT_EQ(platform.boxes.size(), 2u);  // confirmation and completion only
}

TEST_F(InstallerTest, RetryCreatesTheSameFolderAgain) {
    platform.existing = {"C:\\ZOV_LT"};
    platform.failures.Add("mkdir C:\\ZOV_LT\\blocos", kvl::kPermissionDenied);
    EXPECT_EQ(Run({kButtonRetry}), Outcome::Completed);
    EXPECT_THAT(platform.Logged("mkdir "),
                ElementsAre("mkdir C:\\ZOV_LT\\blocos", "mkdir C:\\ZOV_LT\\blocos",
                            "mkdir C:\\ZOV_LT\\DLL"));
    EXPECT_EQ(platform.boxes[1].text,
              "Ocorreu um erro na criação dos directórios!\r\n(70) Permission denied");
    EXPECT_EQ(platform.boxes[1].flags, 53);
}

// --- Stage 2: files -------------------------------------------------------------------------

TEST_F(InstallerTest, RootAndBlockFilesAreDeletedThenCopiedWithACaptionEach) {
    platform.listings[kRootPattern] = {"a.lsp", "ZOV_LT.cui"};
    platform.listings[kBlocksPattern] = {"b1.dwg"};
    Run();
    EXPECT_THAT(Copies(),
                ElementsAre("copy " + kSource + "a.lsp > C:\\ZOV_LT\\a.lsp",
                            "copy " + kSource + "ZOV_LT.cui > C:\\ZOV_LT\\ZOV_LT.cui",
                            "copy " + kSource + "blocos\\b1.dwg > C:\\ZOV_LT\\blocos\\b1.dwg",
                            "copy " + kSource + "DLL\\KVL2005.dll > C:\\ZOV_LT\\DLL\\KVL2005.dll"));
    const auto& log = platform.log;
    auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry); };
    EXPECT_LT(at("delete C:\\ZOV_LT\\a.lsp"), at("copy " + kSource + "a.lsp > C:\\ZOV_LT\\a.lsp"));
    EXPECT_THAT(std::vector<std::string>(view.captions.begin() + 1, view.captions.begin() + 4),
                ElementsAre("Copiar o Ficheiro C:\\ZOV_LT\\a.lsp",
                            "Copiar o Ficheiro C:\\ZOV_LT\\ZOV_LT.cui",
                            "Copiar o Ficheiro C:\\ZOV_LT\\blocos\\b1.dwg"));
}

TEST_F(InstallerTest, EmptyFoldersCopyNothingAndRaiseNothing) {
    EXPECT_EQ(Run(), Outcome::Completed);
    EXPECT_THAT(platform.Logged("list "),
                ElementsAre("list " + kRootPattern, "list " + kBlocksPattern));
    EXPECT_EQ(Copies().size(), 1u);  // the library only
    EXPECT_EQ(platform.boxes.size(), 2u);
}

TEST_F(InstallerTest, RetryAfterAFailedCopyCopiesTheSameFile) {
    platform.listings[kRootPattern] = {"a.lsp", "b.lsp"};
    platform.failures.Add("copy " + kSource + "a.lsp > C:\\ZOV_LT\\a.lsp", kvl::kPermissionDenied);
    EXPECT_EQ(Run({kButtonRetry}), Outcome::Completed);
    EXPECT_EQ(platform.boxes[1].text,
              "Ocorreu um erro na copia dos ficheiros!\r\n(70) Permission denied");
    const auto copies = Copies();
    ASSERT_GE(copies.size(), 3u);
    EXPECT_EQ(copies[0], copies[1]);
    EXPECT_EQ(copies[2], "copy " + kSource + "b.lsp > C:\\ZOV_LT\\b.lsp");
    // Only the copy is repeated, not the delete before it.
    EXPECT_EQ(platform.Logged("delete C:\\ZOV_LT\\a.lsp").size(), 1u);
}

TEST_F(InstallerTest, CancelLeavesWhatWasDoneAndEntersTheFinishedState) {
    platform.listings[kRootPattern] = {"a.lsp", "b.lsp"};
    platform.failures.Add("copy " + kSource + "b.lsp > C:\\ZOV_LT\\b.lsp", kvl::kDiskFull);
    EXPECT_EQ(Run({kButtonCancel}), Outcome::Cancelled);
    EXPECT_THAT(platform.Logged("delete "), ::testing::Not(IsEmpty()));
    EXPECT_EQ(Copies().size(), 2u);  // a.lsp copied, b.lsp attempted once
    EXPECT_THAT(platform.Logged("create "), IsEmpty());
    EXPECT_EQ(platform.boxes.size(), 2u);  // no completion message
    EXPECT_FALSE(view.installVisible);
    EXPECT_TRUE(view.closeEnabled);
    EXPECT_EQ(view.closeCaption, "Fechar");
    EXPECT_FALSE(view.progressVisible);
    EXPECT_FALSE(view.acceptEnabled);
    EXPECT_FALSE(view.busy);
    EXPECT_TRUE(installer.QueryUnload());
    // A new attempt needs a new program start.
    EXPECT_EQ(installer.InstallClicked(), Outcome::NotStarted);
}

TEST_F(InstallerTest, FailedListingIsTheCopyStagesError) {
    platform.failures.Add("list " + kRootPattern, kvl::kPathNotFound);
    EXPECT_EQ(Run({kButtonRetry}), Outcome::Completed);
    EXPECT_EQ(platform.boxes[1].text,
              "Ocorreu um erro na copia dos ficheiros!\r\n(76) Path not found");
    EXPECT_EQ(platform.Logged("list " + kRootPattern).size(), 2u);
}

// --- Stage 3: library -----------------------------------------------------------------------

TEST_F(InstallerTest, LibraryIsReplacedThenRegisteredWithoutWaiting) {
    Run();
    const auto& log = platform.log;
    auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry); };
    const auto del = at("delete C:\\ZOV_LT\\DLL\\KVL2005.dll");
    const auto copy = at("copy " + kSource + "DLL\\KVL2005.dll > C:\\ZOV_LT\\DLL\\KVL2005.dll");
    const auto start = at("start regsvr32 C:\\ZOV_LT\\DLL\\KVL2005.dll /s");
    ASSERT_NE(start, log.end());
    EXPECT_LT(del, copy);
    EXPECT_LT(copy, start);
    EXPECT_LT(start, at("create AutoCAD.Application"));
    EXPECT_EQ(view.captions[1], "Registar as librarias dinâmicas");
}

TEST_F(InstallerTest, RegistrationThatCannotStartIsTheLibraryStagesError) {
    platform.failures.Add("start regsvr32 C:\\ZOV_LT\\DLL\\KVL2005.dll /s", kvl::kFileNotFound);
    EXPECT_EQ(Run({kButtonCancel}), Outcome::Cancelled);
    EXPECT_EQ(platform.boxes[1].text,
              "Ocorreu um erro no Registo das librarias dinâmicas!\r\n(53) File not found");
}

// --- Stage 4: start the CAD application -----------------------------------------------------

TEST_F(InstallerTest, NoCadApplicationIsTheStartStagesError) {
    platform.failures.Add("create AutoCAD.Application", kvl::kCannotCreateObject);
    EXPECT_EQ(Run({kButtonCancel}), Outcome::Cancelled);
    EXPECT_EQ(platform.boxes[1].text,
              "Ocorreu um erro ao abrir o AutoCAD!\r\n(429) ActiveX component can't create object");
}

TEST_F(InstallerTest, CancelAfterTheStartReleasesTheApplicationWithoutQuitting) {
    platform.cad.failures.Add("SupportPath", -2147467259);
    EXPECT_EQ(Run({kButtonCancel}), Outcome::Cancelled);
    EXPECT_TRUE(platform.boxes[1].text.starts_with(
        "Ocorreu um erro na configuração do AutoCAD (Path Support)!\r\n(-2147467259) "));
    EXPECT_THAT(platform.cad.log, ElementsAre("Visible False", "SupportPath"));
    EXPECT_TRUE(platform.cad.released);
}

// --- Stage 5: support path ------------------------------------------------------------------

TEST_F(InstallerTest, AbsentSupportFolderIsAppended) {
    Run();
    EXPECT_EQ(platform.cad.supportPath, "C:\\CAD\\support;C:\\CAD\\fonts;C:\\ZOV_LT");
    EXPECT_EQ(view.captions[3], "Configurar o Path \"Support\"");
}

TEST_F(InstallerTest, SupportFolderFoundInAnyCaseOrInsideALongerEntryIsNotAppended) {
    for (const std::string path : {"C:\\CAD;c:\\Zov_Lt", "C:\\ZOV_LT\\blocos;C:\\CAD"}) {
        FakeView freshView;
        FakePlatform fresh;
        fresh.cad.supportPath = path;
        Installer again(freshView, fresh, kProgram);
        fresh.answers = {kButtonOk};
        EXPECT_EQ(again.InstallClicked(), Outcome::Completed);
        EXPECT_EQ(fresh.cad.supportPath, path);
        EXPECT_THAT(fresh.cad.log,
                    ::testing::Not(::testing::Contains(::testing::StartsWith("SetSupportPath"))));
    }
}

TEST_F(InstallerTest, RetryOfTheSupportPathWriteReadsItAgain) {
    platform.cad.failures.Add("SetSupportPath", -2147467259);
    EXPECT_EQ(Run({kButtonRetry}), Outcome::Completed);
    EXPECT_THAT(
        std::vector<std::string>(platform.cad.log.begin() + 1, platform.cad.log.begin() + 6),
        ElementsAre("SupportPath", "SupportPath",
                    "SetSupportPath C:\\CAD\\support;C:\\CAD\\fonts;C:\\ZOV_LT", "SupportPath",
                    "SetSupportPath C:\\CAD\\support;C:\\CAD\\fonts;C:\\ZOV_LT"));
}

// --- Stage 6: menu --------------------------------------------------------------------------

TEST_F(InstallerTest, OnlyTheFirstGroupOfTheExactNameIsUnloaded) {
    platform.cad.groups = {"ACAD", "zov_lt", "ZOV_LT", "ZOV_LT"};
    Run();
    EXPECT_THAT(platform.cad.log, ::testing::Contains("Unload 2"));
    EXPECT_EQ(std::count_if(platform.cad.log.begin(), platform.cad.log.end(),
                            [](const std::string& e) { return e.starts_with("Unload"); }),
              1);
    EXPECT_THAT(platform.cad.log, ::testing::Not(::testing::Contains("MenuGroupName 3")));
}

TEST_F(InstallerTest, WithoutTheGroupNothingIsUnloadedAndTheLoadGoesAhead) {
    platform.cad.groups = {"ACAD", "EXPRESS"};
    EXPECT_EQ(Run(), Outcome::Completed);
    const auto& log = platform.cad.log;
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& e) { return e.starts_with("Unload"); }),
              0);
    EXPECT_THAT(log, ::testing::Contains("Load C:\\ZOV_LT\\ZOV_LT.cui"));
}

TEST_F(InstallerTest, MenuGoesBeforeTheLastMenuCountedWhenItIsInserted) {
    platform.cad.menuBarCount = 5;
    platform.cad.menuBarCountAfterLoad = 7;
    Run();
    const auto& log = platform.cad.log;
    const auto load = std::find(log.begin(), log.end(), "Load C:\\ZOV_LT\\ZOV_LT.cui");
    EXPECT_LT(std::find(log.begin(), log.end(), "Visible True"), load);
    EXPECT_THAT(std::vector<std::string>(load + 1, load + 3),
                ElementsAre("MenuBarCount", "InsertInMenuBar ZOV_LT 0 6"));
    EXPECT_EQ(view.captions.back(), "Fim da instalação.");
}

TEST_F(InstallerTest, FailedLoadIsTheMenuStagesError) {
    platform.cad.failures.Add("Load", -2147467259);
    EXPECT_EQ(Run({kButtonCancel}), Outcome::Cancelled);
    EXPECT_TRUE(platform.boxes[1].text.starts_with("Ocorreu um erro ao Carregar o Menu!\r\n("));
    EXPECT_THAT(platform.cad.log, ::testing::Not(::testing::Contains("Quit")));
}

// --- Closing and completion -----------------------------------------------------------------

TEST_F(InstallerTest, ClosingClosesTheDrawingUnsavedThenQuitsAndCompletes) {
    EXPECT_EQ(Run(), Outcome::Completed);
    const auto& log = platform.cad.log;
    EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
                ElementsAre("Close 0 False", "Quit"));
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].text,
              "Instalação Concluída. Para mais informações acerca do ZOV LT, consulte o ficheiro "
              "manual.pdf que se encontra na pasta C:\\ZOV_LT");
    EXPECT_EQ(platform.boxes[1].flags, 64);
    EXPECT_TRUE(platform.cad.released);
    EXPECT_FALSE(view.installVisible);
    EXPECT_EQ(view.closeCaption, "Fechar");
    EXPECT_TRUE(view.closeEnabled);
    EXPECT_FALSE(view.busy);
}

TEST_F(InstallerTest, ErrorsWhileClosingTheCadAreIgnored) {
    platform.cad.failures.Add("Close", -2147467259);
    platform.cad.failures.Add("Quit", 462);
    EXPECT_EQ(Run(), Outcome::Completed);
    EXPECT_THAT(platform.cad.log, ::testing::Contains("Quit"));
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[1].flags, 64);
}

}  // namespace
}  // namespace zovlt::test
