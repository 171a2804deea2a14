// The platform's use of Windows paths on the host: the folder chooser and the library.

#include <gtest/gtest.h>

#include "Databases.h"
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
    void SetUp() override { fs::create_directories(driveC_ / "Dados"); }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_ = NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    ChosenFolder chooser_;
    winhost::PrintedMessageBoxes boxes_;
    LinuxPlatform platform_{
        {driveC_, root_ / "system.reg", root_ / "stage", "%FILE%", false}, boxes_, &chooser_};
};

TEST_F(LinuxPlatformTest, TheChooserStartsAtTheNearestFolderThereAndAMissingLibraryStaysMissing) {
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
    // The chosen host folder comes back as a Windows path.
    chooser_.folder = driveC_ / "Dados";
    EXPECT_EQ(platform_.ChooseFolder(0, ""), "C:\\Dados");

    EXPECT_EQ(kvltest::ErrorOf([&] { platform_.OpenLibrary("C:\\Dados\\PDM Biblioteca.mdb"); }),
              kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados" / "PDM Biblioteca.mdb"));
}

}  // namespace
}  // namespace setup::testing
