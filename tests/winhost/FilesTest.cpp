// Windows paths mapped to the host's; files on them: listings, folders, copies that replace a
// file whole or not at all, failures that carry the classic numbers and name what failed; and
// files placed together: staged beside their targets, switched at once, put back on failure,
// nothing temporary left once the placement is over, and what a killed run left taken away.

#include <gmock/gmock.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "kvl/Error.h"
#include "winhost/DriveMap.h"
#include "winhost/Removal.h"
#include "winhost/StagedPlacement.h"
#include "winhost/WindowsFiles.h"

namespace winhost {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
// Each file and folder by name, with the files' contents ("/" for a folder).
using Files = std::map<std::string, std::string>;

// The number and description of the error the call throws.
std::pair<int, std::string> Failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const kvl::Error& error) {
        return {error.number(), error.description()};
    }
    return {0, ""};
}

TEST(DriveMapTest, WindowsPathsMapThroughDriveCAndZAndBackAndNeverLeaveTheirDrive) {
    const DriveMap drives("/tmp/prefix/drive_c/");
    const std::pair<const char*, const char*> cases[] = {
        {"c:/Dados/PDM Warehouse.mdb", "/tmp/prefix/drive_c/Dados/PDM Warehouse.mdb"},
        {"C:", "/tmp/prefix/drive_c"},
        {"Z:\\tmp\\a b\\", "/tmp/a b"},
        // ".." stops at the drive's root, so no path reaches outside drive C:'s folder.
        {"C:\\..\\..\\etc\\passwd", "/tmp/prefix/drive_c/etc/passwd"},
        {"Z:\\a\\..\\..\\b", "/b"},
    };
    for (const auto& [windows, host] : cases) EXPECT_EQ(drives.ToHost(windows), host) << windows;
    for (const char* path : {"D:\\x", "relative\\x", "\\\\server\\share\\x", "", "C"})
        EXPECT_EQ(Failure([&] { drives.ToHost(path); }).first, kvl::kPathNotFound) << path;

    // Host paths are written back under C: inside its folder, else under Z:; roots end in a
    // backslash.
    const std::pair<const char*, const char*> back[] = {
        {"/tmp/prefix/drive_c/Programas/ZOV/", "C:\\Programas\\ZOV"},
        {"/tmp/prefix/drive_c/Dados/../Novo", "C:\\Novo"},
        {"/tmp/prefix/drive_c/", "C:\\"},
        {"/", "Z:\\"},
        {"/srv/gis", "Z:\\srv\\gis"},
        // A folder whose name only begins like drive C:'s is not in it.
        {"/tmp/prefix/drive_cx/bin", "Z:\\tmp\\prefix\\drive_cx\\bin"},
    };
    for (const auto& [host, windows] : back) EXPECT_EQ(drives.ToWindows(host), windows) << host;
}

TEST(DriveMapTest, DriveCComesFromTheOptionElseTheWinePrefixElseHome) {
    setenv("WINEPREFIX", "/tmp/pfx", 1);
    EXPECT_EQ(DriveMap::FromEnvironment("/opt/c").DriveC(), "/opt/c");
    EXPECT_EQ(DriveMap::FromEnvironment(std::nullopt).DriveC(), "/tmp/pfx/drive_c");
    EXPECT_EQ(WinePrefix(), "/tmp/pfx");
    unsetenv("WINEPREFIX");
    setenv("HOME", "/home/tecnico", 1);
    EXPECT_EQ(DriveMap::FromEnvironment(std::nullopt).DriveC(), "/home/tecnico/.wine/drive_c");
    // Set, the variable is what helper programs receive: the regsvr32 tests prove it.
    unsetenv(DriveMap::kInheritedVariable);
    EXPECT_EQ(DriveMap::Inherited(), std::nullopt);
}

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(driveC_); }
    void TearDown() override { fs::remove_all(root_); }

    // Creates the file and its folders under drive C:.
    void Write(const std::string& name, const std::string& text) {
        fs::create_directories((driveC_ / name).parent_path());
        std::ofstream(driveC_ / name, std::ios::binary) << text;
    }
    // Everything under the folder of drive C:.
    Files Tree(const std::string& folder = "") {
        Files tree;
        for (const auto& entry : fs::recursive_directory_iterator(driveC_ / folder)) {
            std::ostringstream text;
            if (!entry.is_directory())
                text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            tree[entry.path().filename().string()] = entry.is_directory() ? "/" : text.str();
        }
        return tree;
    }

    fs::path root_ = fs::temp_directory_path() / ("files-test-" + std::to_string(getpid()));
    fs::path driveC_ = root_ / "drive_c";
    WindowsFiles files{DriveMap(driveC_)};
};

TEST_F(FilesTest, LinksResolveAndNamesThatDifferOnlyInLetterCaseAreFoundAsOnWindows) {
    // A folder reached through a link still lies in drive C:.
    fs::create_directory_symlink(driveC_, root_ / "c-link");
    EXPECT_EQ(DriveMap(root_ / "c-link").DriveC(), fs::canonical(driveC_));
    const fs::path program = driveC_ / "Program Files" / "Kestrova" / "Cartelix Professional";
    fs::create_directories(program / "Symbols");
    Write("files/dll/kvl2005.dll", "");
    // Two names for one folder in any case: the choice does not depend on the listing's order.
    fs::create_directories(driveC_ / "Dados");
    fs::create_directories(driveC_ / "DADOS");
    const std::pair<const char*, fs::path> cases[] = {
        {"C:\\PROGRAM FILES\\kestrova\\cartelix professional\\", program},
        {"C:\\FILES\\DLL\\KVL2005.dll", driveC_ / "files" / "dll" / "kvl2005.dll"},
        {"C:\\dados\\x", driveC_ / "DADOS" / "x"},
        // An exact name is taken as it is; from a missing name on, the names stay as written.
        {"C:\\Dados\\Novo\\Sub", driveC_ / "Dados" / "Novo" / "Sub"},
        {"C:\\Program Files\\KESTROVA\\Nova Pasta\\Symbols",
         driveC_ / "Program Files" / "Kestrova" / "Nova Pasta" / "Symbols"},
    };
    for (const auto& [windows, host] : cases)
        EXPECT_EQ(files.Drives().ToHost(windows), host) << windows;
    EXPECT_EQ(files.Drives().ToWindows(root_ / "c-link" / "Dados"), "C:\\Dados");
}

TEST_F(FilesTest, ListingGivesNormalFilesByPatternInAnyCaseOrder) {
    // LEIAME has no dot but still matches "*.*"; a backslash makes no Windows file name; sub.txt
    // is a folder, pipe.txt a system file.
    for (const char* name :
         {"b.txt", "A.txt", "c.dwg", "LEIAME", ".hidden.txt", "x\\..\\..\\fora.txt", "sub.txt/x"})
        Write(std::string("d/") + name, "");
    ASSERT_EQ(mkfifo((driveC_ / "d" / "pipe.txt").c_str(), 0600), 0);
    EXPECT_THAT(files.ListFiles("C:\\d\\*.*"), ElementsAre("A.txt", "b.txt", "c.dwg", "LEIAME"));
    EXPECT_THAT(files.ListFiles("C:\\D\\*.TXT"), ElementsAre("A.txt", "b.txt"));
    EXPECT_TRUE(files.ListFiles("C:\\d\\*.bak").empty());
    EXPECT_EQ(Failure([&] { files.ListFiles("C:\\missing\\*.*"); }),
              std::pair(76, std::string("Caminho não encontrado: C:\\missing")));
}

TEST_F(FilesTest, FoldersAreMadeOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
    files.CreateFolder("C:\\ZOV_LT");
    EXPECT_EQ(Failure([&] { files.CreateFolder("C:\\ZOV_LT"); }).first, kvl::kPathFileAccessError);
    EXPECT_EQ(Failure([&] { files.CreateFolder("C:\\none\\deeper"); }),
              std::pair(76, std::string("Caminho não encontrado: C:\\none")));
    EXPECT_EQ(Failure([&] { files.CreateFolder("Z:\\sys\\zovlt"); }),
              std::pair(70, std::string("Permissão negada: Z:\\sys\\zovlt")));
    Write("ZOV_LT/leia-me.txt", "");
    EXPECT_FALSE(files.RemoveFolderIfEmpty("C:\\ZOV_LT"));
    EXPECT_FALSE(files.RemoveFolderIfEmpty("C:\\nada"));
    files.DeleteFile("C:\\zov_lt\\LEIA-ME.TXT");
    EXPECT_TRUE(files.RemoveFolderIfEmpty("C:\\ZOV_LT"));
    EXPECT_FALSE(fs::exists(driveC_ / "ZOV_LT"));

    Write(".oculto", "");
    EXPECT_TRUE(files.PathOK("C:\\.oculto"));
    EXPECT_FALSE(files.PathOK("Q:\\x"));
}

TEST_F(FilesTest, ACopyReplacesTheTargetWithTheSourcesContentsAndPermissions) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec;
    Write("novo.lsp", "novo");
    fs::permissions(driveC_ / "novo.lsp", mode);
    Write("antigo.lsp", "antigo e mais comprido");
    files.CopyFile("C:\\novo.lsp", "C:\\antigo.lsp");
    EXPECT_EQ(fs::status(driveC_ / "antigo.lsp").permissions() & fs::perms::all, mode);
    files.CopyFile("C:\\novo.lsp", "C:\\novo2.lsp");
    // A file copied over itself stays whole.
    files.CopyFile("C:\\novo.lsp", "C:\\NOVO.LSP");
    EXPECT_EQ(Tree(), (Files{{"antigo.lsp", "novo"}, {"novo.lsp", "novo"}, {"novo2.lsp", "novo"}}));
}

TEST_F(FilesTest, FailuresNameWhatFailedAndLeaveNothingBehind) {
    Write("a.txt", "a");
    const std::pair<std::function<void()>, std::pair<int, std::string>> cases[] = {
        {[&] { files.CopyFile("C:\\nada.txt", "C:\\b.txt"); },
         {53, "Ficheiro não encontrado: C:\\nada.txt"}},
        {[&] { files.CopyFile("C:\\a.txt", "C:\\nada\\b.txt"); },
         {76, "Caminho não encontrado: C:\\nada"}},
        {[&] { files.CopyFile("C:", "C:\\b.txt"); },
         {75, "Erro de acesso ao caminho/ficheiro: C:"}},
        {[&] { files.CopyFile("C:\\a.txt", "Z:\\sys\\winhost.txt"); },
         {70, "Permissão negada: Z:\\sys\\winhost.txt"}},
        {[&] { files.DeleteFile("C:\\b.txt"); }, {53, "Ficheiro não encontrado: C:\\b.txt"}},
        {[&] { files.FileSize("C:\\"); }, {53, "Ficheiro não encontrado: C:\\"}},
    };
    for (const auto& [call, failure] : cases) EXPECT_EQ(Failure(call), failure);
    fs::create_directory(driveC_ / "pasta");
    EXPECT_EQ(Failure([&] { files.CopyFile("C:\\a.txt", "C:\\pasta"); }).first,
              kvl::kPathFileAccessError);
    EXPECT_EQ(Tree(), (Files{{"a.txt", "a"}, {"pasta", "/"}}));
}

TEST_F(FilesTest, ACopyThatFailsMidwayLeavesThePreviousFileAsItWas) {
    Write("KVL2005.dll", "the installed library");
    const std::string big(256 * 1024, 'x');
    Write("novo.dll", big);
    // The process may write no file beyond 64 KiB: the copy's writes fail after the first ones.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const sighandler_t handler = signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limited = {.rlim_cur = 64 * 1024, .rlim_max = saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const auto failure = Failure([&] { files.CopyFile("C:\\novo.dll", "C:\\KVL2005.dll"); });
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);

    EXPECT_EQ(failure, std::pair(61, std::string("Disco cheio: C:\\KVL2005.dll")));
    EXPECT_TRUE(Tree() == (Files{{"KVL2005.dll", "the installed library"}, {"novo.dll", big}}))
        << "the previous file changed or a temporary was left";
}

// --- Placement ----------------------------------------------------------------------------------

class PlacementTest : public FilesTest {
  protected:
    PlacementTest() {
        Write("novo/a.txt", "new a");
        Write("novo/b.txt", "new b");
        Write("ZOV_LT/a.txt", "old a");
        before_ = Tree();
    }

    // The installation's files.
    Files Tree() { return FilesTest::Tree("ZOV_LT"); }
    void StageBoth(Placement& placement) {
        placement.Stage("C:\\novo\\a.txt", "C:\\ZOV_LT\\a.txt");
        placement.Stage("C:\\novo\\b.txt", "C:\\ZOV_LT\\b.txt");
    }

    Files before_;
    const Files after_ = {{"a.txt", "new a"}, {"b.txt", "new b"}};
};

TEST_F(PlacementTest, StagedCopiesTakeTheirPlacesTogetherAndUndoPutsBackThePreviousFiles) {
    {
        StagedPlacement dropped(files);
        StageBoth(dropped);
        // Under a name that a killed run's leftovers are known by, where the copy can be read.
        const std::string staged = dropped.Stage("C:\\novo\\b.txt", "C:\\zov_lt\\c.txt");
        EXPECT_TRUE(staged.starts_with("C:\\zov_lt\\.winhost-")) << staged;
        EXPECT_EQ(files.FileSize(staged), 5u);
        EXPECT_EQ(Tree().size(), 4u);  // the three copies beside the previous file
        EXPECT_EQ(Tree()["a.txt"], "old a");
    }
    EXPECT_EQ(Tree(), before_);

    StagedPlacement undone(files);
    StageBoth(undone);
    undone.Switch();
    EXPECT_EQ(Tree().size(), 3u);  // the previous a.txt kept aside
    EXPECT_EQ(Tree()["b.txt"], "new b");
    undone.Undo();
    EXPECT_EQ(Tree(), before_);

    StagedPlacement finished(files);
    StageBoth(finished);
    finished.Switch();
    finished.Finish();
    EXPECT_EQ(Tree(), after_);
}

TEST_F(PlacementTest, ASwitchThatFailsPutsBackWhatItSwitchedAndMayBeTriedAgain) {
    StagedPlacement placement(files);
    StageBoth(placement);
    fs::create_directory(driveC_ / "ZOV_LT" / "b.txt");  // a folder a file cannot replace
    const auto before = Tree();
    EXPECT_EQ(Failure([&] { placement.Switch(); }).first, kvl::kPathFileAccessError);
    EXPECT_EQ(Tree(), before);
    fs::remove(driveC_ / "ZOV_LT" / "b.txt");
    placement.Switch();
    placement.Finish();
    EXPECT_EQ(Tree(), after_);
}

TEST_F(PlacementTest, TheLeftoversOfAKilledRunGoAndNothingElse) {
    for (const char* name : {".winhost-1.part", "blocos/.winhost-2.keep", "blocos/.winhost-3.probe",
                             ".winhost-notas.txt", "x.part"})
        Write("ZOV_LT/" + std::string(name), name);
    EXPECT_TRUE(RemoveLeftovers(files.Drives(), "C:\\ZOV_LT").empty());
    EXPECT_EQ(Tree(), (Files{{".winhost-notas.txt", ".winhost-notas.txt"},
                             {"a.txt", "old a"},
                             {"blocos", "/"},
                             {"x.part", "x.part"}}));
    EXPECT_TRUE(RemoveLeftovers(files.Drives(), "C:\\Nada").empty());
}

}  // namespace
}  // namespace winhost
