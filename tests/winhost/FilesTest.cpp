// Replacing a file: whole, or not at all.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "winhost/Files.h"

namespace winhost {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return folder_ / name;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    int ErrorOf(const fs::path& source, const fs::path& target) {
        try {
            ReplaceFile(source, target);
        } catch (const kvl::Error& error) {
            return error.number();
        }
        return 0;
    }

    fs::path folder_ = fs::temp_directory_path() / ("files-test-" + std::to_string(getpid()));
};

TEST_F(FilesTest, ReplacesTheTargetWithTheSourcesContentsAndPermissions) {
    const fs::path source = Write("novo.lsp", "novo");
    fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec);
    Write("antigo.lsp", "antigo e mais comprido");
    ReplaceFile(source, folder_ / "antigo.lsp");
    EXPECT_EQ(Read("antigo.lsp"), "novo");
    EXPECT_EQ(fs::status(folder_ / "antigo.lsp").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec);
    ReplaceFile(source, folder_ / "novo2.lsp");
    // A file copied over itself stays whole.
    ReplaceFile(source, source);
    EXPECT_EQ(Read("novo.lsp"), "novo");
    EXPECT_EQ(Names(), (std::vector<std::string>{"antigo.lsp", "novo.lsp", "novo2.lsp"}));
}

TEST_F(FilesTest, FailuresCarryTheClassicNumbersAndLeaveNothingBehind) {
    const fs::path source = Write("a.txt", "a");
    EXPECT_EQ(ErrorOf(folder_ / "nada.txt", folder_ / "b.txt"), kvl::kFileNotFound);
    EXPECT_EQ(ErrorOf(source, folder_ / "nada" / "b.txt"), kvl::kPathNotFound);
    EXPECT_EQ(ErrorOf(folder_, folder_ / "b.txt"), kvl::kPathFileAccessError);
    EXPECT_EQ(ErrorOf(source, "/sys/winhost.txt"), kvl::kPermissionDenied);
    fs::create_directory(folder_ / "pasta");
    EXPECT_EQ(ErrorOf(source, folder_ / "pasta"), kvl::kPathFileAccessError);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "pasta"}));
}

TEST_F(FilesTest, ACopyThatFailsMidwayLeavesThePreviousFileAsItWas) {
    Write("KVL2005.dll", "the installed library");
    const fs::path source = Write("novo.dll", std::string(256 * 1024, 'x'));
    // The process may write no file beyond 64 KiB: the copy's writes fail after the first ones.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const sighandler_t handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    const int error = ErrorOf(source, folder_ / "KVL2005.dll");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);

    EXPECT_EQ(error, kvl::kDiskFull);
    EXPECT_TRUE(Read("KVL2005.dll") == "the installed library") << "the previous file changed";
    EXPECT_EQ(Names(), (std::vector<std::string>{"KVL2005.dll", "novo.dll"}));  // no temporary
}

}  // namespace
}  // namespace winhost
