// The platform's use of Windows paths on the host: the staging folder, files, the folder chooser.

#include <gtest/gtest.h>

#include <fstream>

#include "Helpers.h"
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

TEST_F(LinuxPlatformTest, TheChooserOpensAtTheNearestFolderThatExistsAndGivesAWindowsPath) {
    const std::pair<std::string, fs::path> cases[] = {
        {"C:\\dados\\Novo\\Sub\\", driveC_ / "Dados"},
        {"", driveC_},
        {"D:\\Simbolos\\", driveC_},
    };
    for (const auto& [current, start] : cases) {
        EXPECT_EQ(platform_.ChooseFolder(0, current), std::nullopt);
        EXPECT_EQ(chooser_.start, start) << current;
        EXPECT_EQ(chooser_.shortcut, driveC_);
    }
    // A drive root keeps its backslash.
    chooser_.folder = driveC_;
    EXPECT_EQ(platform_.ChooseFolder(0, "C:\\"), "C:\\");
}

TEST_F(LinuxPlatformTest, TheStagingFolderIsTheTempFolderAndAMissingLibraryIsNotCreated) {
    EXPECT_EQ(platform_.FileSize(platform_.TempFolder() + "\\PDM Simbologia.fsm"), 11u);
    EXPECT_EQ(ErrorOf([&] { platform_.OpenLibrary("C:\\Dados\\PDM Biblioteca.mdb"); }),
              kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados" / "PDM Biblioteca.mdb"));
}

}  // namespace
}  // namespace setup::testing
