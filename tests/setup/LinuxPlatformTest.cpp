// Windows paths on the host: drive mapping, files, the folder chooser and options.

#include <gtest/gtest.h>

#include <fstream>

#include "Helpers.h"
#include "kvl/Text.h"
#include "linux/LinuxPlatform.h"

namespace fs = std::filesystem;

namespace setup::testing {
namespace {

class ChosenFolder : public Prompts {
  public:
    std::optional<fs::path> folder;
    int MsgBox(const std::string&, int, const std::string&) override { return kOk; }
    std::optional<fs::path> ChooseFolder(WindowHandle) override { return folder; }
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
    ChosenFolder prompts_;
    LinuxPlatform platform_{{driveC_, root_ / "system.reg", root_ / "stage", "%FILE%"}, prompts_};
    DriveMap drives_{driveC_};
};

TEST_F(LinuxPlatformTest, WindowsPathsMapToDriveCOrTheRootAndChosenFoldersBack) {
    EXPECT_EQ(drives_.ToHost("C:\\Dados\\PDM Warehouse.mdb"), driveC_ / "Dados/PDM Warehouse.mdb");
    EXPECT_EQ(drives_.ToHost("c:\\"), driveC_);
    EXPECT_EQ(drives_.ToHost("Z:\\tmp\\a b\\"), fs::path("/tmp/a b/"));
    for (const char* path : {"D:\\Dados", "\\\\server\\share\\x", "Dados\\x", ""}) {
        EXPECT_EQ(ErrorOf([&] { drives_.ToHost(path); }), kvl::kPathNotFound) << path;
    }

    EXPECT_EQ(platform_.ChooseFolder(0), std::nullopt);
    for (const auto& [host, windows] : std::vector<std::pair<fs::path, std::string>>{
             {driveC_, "C:\\"},
             {driveC_ / "Dados" / ".." / "Novo" / "", "C:\\Novo"},
             {"/", "Z:\\"},
             {"/srv/gis", "Z:\\srv\\gis"},
             // A folder whose name only begins like drive C:'s folder is not in it.
             {root_ / "drive_c2",
              "Z:" + kvl::StrSubstitui((root_ / "drive_c2").string(), "/", "\\", true)}}) {
        prompts_.folder = host;
        EXPECT_EQ(platform_.ChooseFolder(0), windows) << host;
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

TEST_F(LinuxPlatformTest, MissingLibraryIsNotCreated) {
    EXPECT_EQ(ErrorOf([&] { platform_.OpenLibrary("C:\\Dados\\PDM Biblioteca.mdb"); }),
              kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados" / "PDM Biblioteca.mdb"));
}

}  // namespace
}  // namespace setup::testing
