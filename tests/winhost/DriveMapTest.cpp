// One mapping of Windows paths for both programs and their helpers.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <tuple>

#include "kvl/Error.h"
#include "winhost/DriveMap.h"

namespace winhost {
namespace {

namespace fs = std::filesystem;

int ErrorOf(const DriveMap& drives, const char* path) {
    try {
        drives.ToHost(path);
    } catch (const kvl::Error& error) {
        return error.number();
    }
    return 0;
}

TEST(DriveMapTest, WindowsPathsMapThroughDriveCAndZAndNeverLeaveTheirDrive) {
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
    for (const char* path : {"D:\\x", "relative\\x", "\\\\server\\share\\x", "", "C"}) {
        EXPECT_EQ(ErrorOf(drives, path), kvl::kPathNotFound) << path;
    }
}

TEST(DriveMapTest, HostPathsWriteBackUnderCInsideItsFolderElseUnderZAndRootsEndInABackslash) {
    const DriveMap drives("/tmp/prefix/drive_c");
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/prefix/drive_c/Programas/ZOV/", "C:\\Programas\\ZOV"},
        {"/tmp/prefix/drive_c/Dados/../Novo", "C:\\Novo"},
        {"/tmp/prefix/drive_c/", "C:\\"},
        {"/", "Z:\\"},
        {"/srv/gis", "Z:\\srv\\gis"},
        // A folder whose name only begins like drive C:'s is not in it.
        {"/tmp/prefix/drive_cx/bin", "Z:\\tmp\\prefix\\drive_cx\\bin"},
    };
    for (const auto& [host, windows] : cases) EXPECT_EQ(drives.ToWindows(host), windows) << host;
}

TEST(DriveMapTest, LinksResolveSoAFolderReachedThroughOneStillLiesInDriveC) {
    const fs::path root = fs::temp_directory_path() / ("drivemap-" + std::to_string(getpid()));
    fs::create_directories(root / "prefix" / "drive_c" / "Dados");
    fs::create_directory_symlink(root / "prefix" / "drive_c", root / "c-link");
    const DriveMap throughLink(root / "c-link");
    EXPECT_EQ(throughLink.DriveC(), fs::canonical(root / "prefix" / "drive_c"));
    EXPECT_EQ(DriveMap(root / "prefix" / "drive_c").ToWindows(root / "c-link" / "Dados"),
              "C:\\Dados");
    fs::remove_all(root);
}

TEST(DriveMapTest, NamesThatDifferOnlyInLetterCaseAreFoundAsOnAWindowsFileSystem) {
    const fs::path root = fs::temp_directory_path() / ("drivemap-case-" + std::to_string(getpid()));
    const fs::path program = root / "Program Files" / "Kestrova" / "Cartelix Professional";
    fs::create_directories(program / "Symbols");
    fs::create_directories(root / "files" / "dll");
    std::ofstream(root / "files" / "dll" / "kvl2005.dll") << "";
    // Two names for one folder in any case: the choice does not depend on the listing's order.
    fs::create_directories(root / "Dados");
    fs::create_directories(root / "DADOS");
    const DriveMap drives(root);
    const std::pair<const char*, fs::path> cases[] = {
        {"C:\\PROGRAM FILES\\kestrova\\cartelix professional\\", program},
        {"C:\\FILES\\DLL\\KVL2005.dll", root / "files" / "dll" / "kvl2005.dll"},
        {"C:\\dados\\x", root / "DADOS" / "x"},
        // An exact name is taken as it is; from a missing name on, the names stay as written.
        {"C:\\Dados\\Novo\\Sub", root / "Dados" / "Novo" / "Sub"},
        {"C:\\Program Files\\KESTROVA\\Nova Pasta\\Symbols",
         root / "Program Files" / "Kestrova" / "Nova Pasta" / "Symbols"},
    };
    for (const auto& [windows, host] : cases) EXPECT_EQ(drives.ToHost(windows), host) << windows;
    fs::remove_all(root);
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

}  // namespace
}  // namespace winhost
