// The platform's use of Windows paths on the host: the staging folder, files, the folder chooser.

#include <gtest/gtest.h>

#include <fstream>

#include "Helpers.h"
#include "kvl/Text.h"
#include "platform/LinuxPlatform.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

class ChosenFolder : public FolderChooser {
  public:
    std::optional<fs::path> folder;
    fs::path start, shortcut;  // as the last choice was offered
    std::optional<fs::path> Choose(WindowHandle, const fs::path& at,
                                   const fs::path& driveC) override {
        start = at;
        shortcut = driveC;
        return folder;
    }
};

class LinuxPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(driveC_ / "Dados");
        fs::create_directories(root_ / "stage");
        std::ofstream(root_ / "stage" / "PDM Simbologia.fsm") << "new symbols";
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_ = NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    ChosenFolder chooser_;
    winhost::PrintedMessageBoxes boxes_;
    LinuxPlatform platform_{
        {driveC_, root_ / "system.reg", root_ / "stage", "%FILE%", false}, boxes_, &chooser_};
};

TEST_F(LinuxPlatformTest, TheChooserOpensAtTheNearestFolderThatExistsAndOffersDriveC) {
    const std::pair<std::string, fs::path> cases[] = {
        {"C:\\dados\\Novo\\Sub\\", driveC_ / "Dados"},
        {"C:\\Dados\\", driveC_ / "Dados"},
        {"", driveC_},
        {"D:\\Simbolos\\", driveC_},
    };
    for (const auto& [current, start] : cases) {
        platform_.ChooseFolder(0, current);
        EXPECT_EQ(chooser_.start, start) << current;
        EXPECT_EQ(chooser_.shortcut, driveC_);
    }
}

TEST_F(LinuxPlatformTest, ChosenFoldersAreWindowsPathsAndADriveRootKeepsItsBackslash) {
    EXPECT_EQ(platform_.ChooseFolder(0, ""), std::nullopt);
    for (const auto& [host, windows] : std::vector<std::pair<fs::path, std::string>>{
             {driveC_, "C:\\"},
             {driveC_ / "Dados" / ".." / "Novo" / "", "C:\\Novo"},
             {"/", "Z:\\"},
             {root_ / "stage",
              "Z:" + kvl::StrSubstitui((root_ / "stage").string(), "/", "\\", true)}}) {
        chooser_.folder = host;
        EXPECT_EQ(platform_.ChooseFolder(0, "C:\\"), windows) << host;
    }
}

TEST_F(LinuxPlatformTest, StagingFolderSizesAndCopies) {
    const std::string staging = platform_.TempFolder() + "\\";
    EXPECT_EQ(platform_.FileSize(staging + "PDM Simbologia.fsm"), 11u);
    // A folder is no file.
    EXPECT_EQ(ErrorOf([&] { platform_.FileSize(staging); }), kvl::kFileNotFound);

    std::ofstream(driveC_ / "Dados" / "PDM Simbologia.fsm") << "older and longer symbols";
    platform_.CopyFile(staging + "PDM Simbologia.fsm", "C:\\Dados\\PDM Simbologia.fsm");
    std::ifstream copied(driveC_ / "Dados" / "PDM Simbologia.fsm");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "new symbols");

    EXPECT_EQ(
        ErrorOf([&] { platform_.CopyFile(staging + "PDM Simbologia.fsm", "C:\\Falta\\a.fsm"); }),
        kvl::kPathNotFound);
}

TEST_F(LinuxPlatformTest, NoWindowsPathLeavesDriveCsFolder) {
    // The staging folder lies beside drive C:'s folder, one ".." above it.
    EXPECT_EQ(ErrorOf([&] { platform_.FileSize("C:\\..\\stage\\PDM Simbologia.fsm"); }),
              kvl::kFileNotFound);
    const std::string staging = platform_.TempFolder() + "\\";
    platform_.CopyFile(staging + "PDM Simbologia.fsm", "C:\\Dados\\..\\..\\..\\escape.fsm");
    EXPECT_TRUE(fs::exists(driveC_ / "escape.fsm"));
    EXPECT_FALSE(fs::exists(root_ / "escape.fsm"));
}

TEST_F(LinuxPlatformTest, MissingLibraryIsNotCreated) {
    EXPECT_EQ(ErrorOf([&] { platform_.OpenLibrary("C:\\Dados\\PDM Biblioteca.mdb"); }),
              kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados" / "PDM Biblioteca.mdb"));
}

}  // namespace
}  // namespace setup::testing
