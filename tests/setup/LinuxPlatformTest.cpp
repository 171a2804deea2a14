// Windows paths on the host: drive mapping, files, the folder chooser and options.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "SqliteLibrary.h"
#include "app/Options.h"
#include "kvl/Error.h"
#include "kvl/Text.h"
#include "linux/LinuxPlatform.h"

namespace fs = std::filesystem;

namespace setup {
namespace {

int32_t ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const kvl::Error& error) {
        return error.number();
    }
    return 0;
}

class ScriptedPrompts : public Prompts {
  public:
    std::optional<fs::path> folder;
    int MsgBox(const std::string&, int flags, const std::string&) override {
        return UnattendedAnswer(flags);
    }
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

    fs::path root_ = testing::NewFolder();
    fs::path driveC_ = root_ / "drive_c";
    ScriptedPrompts prompts_;
    LinuxPlatform platform_{{driveC_, root_ / "system.reg", root_ / "stage", "%FILE%"}, prompts_};
    DriveMap drives_{driveC_};
};

TEST_F(LinuxPlatformTest, WindowsPathsMapToDriveCAndTheRoot) {
    EXPECT_EQ(drives_.ToHost("C:\\Dados\\PDM Warehouse.mdb"), driveC_ / "Dados/PDM Warehouse.mdb");
    EXPECT_EQ(drives_.ToHost("c:\\"), driveC_);
    EXPECT_EQ(drives_.ToHost("Z:\\tmp\\a b\\"), fs::path("/tmp/a b/"));
    for (const char* path : {"D:\\Dados", "\\\\server\\share\\x", "Dados\\x", ""}) {
        EXPECT_EQ(ErrorOf([&] { drives_.ToHost(path); }), kvl::kPathNotFound) << path;
    }
}

TEST_F(LinuxPlatformTest, HostFoldersMapBackUnderCOrZ) {
    EXPECT_EQ(drives_.ToWindows(driveC_), "C:\\");
    EXPECT_EQ(drives_.ToWindows(driveC_ / "Dados" / ""), "C:\\Dados");
    EXPECT_EQ(drives_.ToWindows(driveC_ / "Dados" / ".." / "Novo"), "C:\\Novo");
    EXPECT_EQ(drives_.ToWindows("/"), "Z:\\");
    // A folder whose name only begins like drive C:'s folder is not in it.
    EXPECT_EQ(drives_.ToWindows(root_ / "drive_c2"),
              "Z:" + kvl::StrSubstitui((root_ / "drive_c2").string(), "/", "\\", true));
}

TEST_F(LinuxPlatformTest, StagingFolderSizesAndCopies) {
    const std::string staging = platform_.TempFolder() + "\\";
    EXPECT_EQ(platform_.FileSize(staging + "PDM Simbologia.fsm"), 11u);
    EXPECT_EQ(ErrorOf([&] { platform_.FileSize(staging + "PDM Simbologia.pdf"); }),
              kvl::kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { platform_.FileSize(staging); }), kvl::kFileNotFound);

    std::ofstream(driveC_ / "Dados" / "PDM Simbologia.fsm") << "older and longer symbols";
    platform_.CopyFile(staging + "PDM Simbologia.fsm", "C:\\Dados\\PDM Simbologia.fsm");
    std::ifstream copied(driveC_ / "Dados" / "PDM Simbologia.fsm");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "new symbols");

    EXPECT_EQ(ErrorOf([&] { platform_.CopyFile(staging + "x.pdf", "C:\\Dados\\x.pdf"); }),
              kvl::kFileNotFound);
    EXPECT_EQ(
        ErrorOf([&] { platform_.CopyFile(staging + "PDM Simbologia.fsm", "C:\\Falta\\a.fsm"); }),
        kvl::kPathNotFound);
}

TEST_F(LinuxPlatformTest, MissingLibraryIsNotCreated) {
    EXPECT_EQ(ErrorOf([&] { platform_.OpenLibrary("C:\\Dados\\PDM Biblioteca.mdb"); }),
              kvl::kFileNotFound);
    EXPECT_FALSE(fs::exists(driveC_ / "Dados" / "PDM Biblioteca.mdb"));
}

TEST_F(LinuxPlatformTest, ChosenHostFolderComesBackAsAWindowsPath) {
    EXPECT_EQ(platform_.ChooseFolder(0), std::nullopt);
    prompts_.folder = driveC_ / "Dados";
    EXPECT_EQ(platform_.ChooseFolder(0), "C:\\Dados");
    prompts_.folder = "/srv/gis";
    EXPECT_EQ(platform_.ChooseFolder(0), "Z:\\srv\\gis");
}

TEST(UnattendedAnswer, ConfirmsAndCancelsFailedSteps) {
    EXPECT_EQ(UnattendedAnswer(16), kOk);
    EXPECT_EQ(UnattendedAnswer(kOkCancel), kOk);
    EXPECT_EQ(UnattendedAnswer(36), kYes);
    EXPECT_EQ(UnattendedAnswer(kRetryCancel | 16), kCancel);
    EXPECT_EQ(UnattendedAnswer(274), kAbort);
}

TEST(Options, CommandLine) {
    const Options options =
        ParseOptions({"--unattended", "--drive-c", "/c", "--target", "2=D:\\Simb", "--registry",
                      "/r.reg", "--target", "4=C:\\"});
    EXPECT_TRUE(options.unattended);
    EXPECT_EQ(options.driveC, fs::path("/c"));
    EXPECT_EQ(options.registry, fs::path("/r.reg"));
    EXPECT_EQ(options.targets,
              (std::vector<std::pair<size_t, std::string>>{{1, "D:\\Simb"}, {3, "C:\\"}}));
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--target", "5=C:\\"},
                                               {"--target", "1="},
                                               {"--target", "C:\\"},
                                               {"--staging"},
                                               {"--verbose"}}) {
        EXPECT_THROW(ParseOptions(bad), UsageError) << bad[0];
    }
}

}  // namespace
}  // namespace setup
