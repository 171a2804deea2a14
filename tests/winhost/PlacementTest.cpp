// Files placed together: staged beside their targets, switched at once, put back on failure,
// nothing temporary left once the placement is over, and what a killed run left taken away.

#include <gmock/gmock.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>

#include "kvl/Error.h"
#include "winhost/Removal.h"
#include "winhost/StagedPlacement.h"

namespace winhost {
namespace {

namespace fs = std::filesystem;

class PlacementTest : public ::testing::Test {
  protected:
    PlacementTest() {
        Write("novo/a.txt", "new a");
        Write("novo/b.txt", "new b");
        Write("ZOV_LT/a.txt", "old a");
        before_ = Tree();
    }
    ~PlacementTest() override { fs::remove_all(root_); }

    void Write(const std::string& name, const std::string& text) {
        fs::create_directories((driveC_ / name).parent_path());
        std::ofstream(driveC_ / name, std::ios::binary) << text;
    }
    // Every file and folder of the installation, with the files' contents.
    std::map<std::string, std::string> Tree() {
        std::map<std::string, std::string> tree;
        for (const auto& entry : fs::recursive_directory_iterator(driveC_ / "ZOV_LT")) {
            std::ostringstream text;
            text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            tree[entry.path().filename().string()] = entry.is_directory() ? "/" : text.str();
        }
        return tree;
    }
    void StageBoth(Placement& placement) {
        placement.Stage("C:\\novo\\a.txt", "C:\\ZOV_LT\\a.txt");
        placement.Stage("C:\\novo\\b.txt", "C:\\ZOV_LT\\b.txt");
    }

    fs::path root_ = fs::temp_directory_path() / ("placement-test-" + std::to_string(getpid()));
    fs::path driveC_ = root_ / "drive_c";
    WindowsFiles files{DriveMap(driveC_)};
    std::map<std::string, std::string> before_;
    const std::map<std::string, std::string> after_ = {{"a.txt", "new a"}, {"b.txt", "new b"}};
};

TEST_F(PlacementTest, StagedCopiesTakeTheirPlacesTogetherAndUndoPutsBackThePreviousFiles) {
    {
        StagedPlacement dropped(files);
        StageBoth(dropped);
        EXPECT_EQ(Tree().size(), 3u);  // the two copies beside the previous file
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
    try {
        placement.Switch();
        ADD_FAILURE() << "a folder was replaced";
    } catch (const kvl::Error& error) {
        EXPECT_EQ(error.number(), kvl::kPathFileAccessError);
    }
    EXPECT_EQ(Tree(), before);
    fs::remove(driveC_ / "ZOV_LT" / "b.txt");
    placement.Switch();
    placement.Finish();
    EXPECT_EQ(Tree(), after_);
}

TEST_F(PlacementTest, TheLeftoversOfAKilledRunGoAndNothingElse) {
    for (const char* name : {".winhost-1.part", "blocos/.winhost-2.keep", "blocos/.winhost-3.probe",
                             ".winhost-notas.txt", "x.part"}) {
        Write("ZOV_LT/" + std::string(name), name);
    }
    EXPECT_TRUE(RemoveLeftovers(files.Drives(), "C:\\ZOV_LT").empty());
    EXPECT_EQ(Tree(),
              (std::map<std::string, std::string>{{".winhost-notas.txt", ".winhost-notas.txt"},
                                                  {"a.txt", "old a"},
                                                  {"blocos", "/"},
                                                  {"x.part", "x.part"}}));
    EXPECT_TRUE(RemoveLeftovers(files.Drives(), "C:\\Nada").empty());
}

}  // namespace
}  // namespace winhost
