// Where the default database and the history live: the XDG folder when absolute, else the
// one under the home folder.

#include <gtest/gtest.h>

#include "Environment.h"
#include "UserFolders.h"

TEST(UserFolders, AnAbsoluteXdgFolderElseTheOneUnderHome) {
    kvltest::ScopedEnvironment env;
    env.Set("HOME", "/home/ana");
    const auto folder = [] { return kvlsession::UserFolder("XDG_DATA_HOME", ".local/share"); };
    env.Set("XDG_DATA_HOME", "/dados");
    EXPECT_EQ(folder(), "/dados");
    env.Set("XDG_DATA_HOME", "relative/data");  // to be ignored, as the convention says
    EXPECT_EQ(folder(), "/home/ana/.local/share");
    env.Set("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(folder(), "/home/ana/.local/share");
}
