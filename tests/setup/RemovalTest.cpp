// The record an installation leaves and the removal that follows it, on the fakes.

#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"
#include "logic/Removal.h"
#include "logic/SetupLogic.h"
#include "logic/Texts.h"

namespace setup::testing {
namespace {

const std::string kManifest(kManifestFile);
const std::string kLibraryFile = "C:\\Dados\\Workspace\\PDM Biblioteca.mdb";
const std::string kOriginal = kLibraryFile + ".original";

class RemovalTest : public ::testing::Test {
  protected:
    // Installs over a library the user had, as the product's setup placed it.
    void SetUp() override {
        InstallProduct(platform, "Cartelix Professional 06.00", "Cartelix Professional");
        platform.files[kLibraryFile] = 1;
        ASSERT_TRUE(logic.Form_Load());
        ASSERT_TRUE(logic.cmdInstall_Click());
        platform.steps.clear();
        platform.messages.clear();
    }
    bool Remove(std::vector<winhost::Button> answers = {winhost::kYes}) {
        platform.answers = std::move(answers);
        return SetupRemoval(platform).Run();
    }

    FakePlatform platform;
    FakeView view;
    SetupLogic logic{view, platform};
};

// What the installation recorded shows in what the removal does.
TEST_F(RemovalTest, RemovesThePlacedFilesPutsTheOriginalBackAndASecondRemovalFindsNothing) {
    // Installing again keeps the first original: the library now there is the installed one.
    platform.files[kOriginal] = 1;
    ASSERT_TRUE(logic.cmdInstall_Click());
    EXPECT_EQ(std::ranges::count_if(platform.steps,
                                    [](const std::string& s) { return s.starts_with("copy "); }),
              0);

    platform.steps.clear();
    platform.messages.clear();
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

    platform.steps.clear();
    platform.messages.clear();
    EXPECT_TRUE(Remove());
    EXPECT_TRUE(platform.steps.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kNothingToRemove);
}

TEST_F(RemovalTest, NoOrAFileThatCannotGoChangesNothing) {
    platform.files[kOriginal] = 1;
    EXPECT_FALSE(Remove({winhost::kNo}));
    EXPECT_EQ(platform.messages[0].flags, kConfirmRemovalFlags);

    platform.messages.clear();
    platform.fixed = {kOriginal};
    EXPECT_FALSE(Remove());
    EXPECT_TRUE(platform.steps.empty());
    EXPECT_EQ(platform.messages.back().text, std::string(kCannotRemove) + "\r\n" + kOriginal);
    EXPECT_EQ(platform.messages.back().flags, winhost::kCritical);
    EXPECT_TRUE(platform.texts.contains(kManifest));
}

}  // namespace
}  // namespace setup::testing
