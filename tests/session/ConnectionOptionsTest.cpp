// The connection options and the walk over a command line that every program taking them
// shares: values inline or next, and mistakes refused with their reason.

#include <gtest/gtest.h>

#include "ConnectionOptions.h"

namespace {

using kvlsession::Arguments;
using kvlsession::ConnectionOptions;

// The connection options among args; anything else stays untaken, and with flag names a
// flag the way a program reads its own.
ConnectionOptions Parse(const std::vector<std::string>& args,
                        std::vector<std::string>* untaken = nullptr) {
    ConnectionOptions o;
    Arguments a(args);
    while (a.Next()) {
        if (kvlsession::ParseConnectionOption(a, o) || a.Flag("--flag")) continue;
        if (!untaken) a.Unknown();
        untaken->push_back(a.Name());
    }
    return o;
}

// The reason a command line is refused; "accepted" when it is not.
std::string Refusal(const std::vector<std::string>& args) {
    try {
        Parse(args);
    } catch (const kvlsession::UsageError& e) {
        return e.what();
    }
    return "accepted";
}

}  // namespace

TEST(ConnectionOptions, EveryOptionReachesItsFieldAndOthersAreLeftToTheProgram) {
    std::vector<std::string> untaken;
    ConnectionOptions o =
        Parse({"--dsn", "d", "--driver=PostgreSQL", "-c", "--server", "srv", "--db=a=b", "--uid",
               "eu", "--pwd", "", "--connect", "C", "--stack", "3"},
              &untaken);
    EXPECT_EQ(o.dsn, "d");
    EXPECT_EQ(o.driver, "PostgreSQL");
    EXPECT_EQ(o.server, "srv");
    EXPECT_EQ(o.db, "a=b");  // only the first "=" separates
    EXPECT_EQ(o.uid, "eu");
    EXPECT_EQ(o.pwd, "");  // an empty password is still given
    EXPECT_EQ(o.connect, "C");
    EXPECT_EQ(o.stack, 3);
    EXPECT_EQ(untaken, std::vector<std::string>{"-c"});
    // Any one of them leaves the default database; the stack size does not.
    EXPECT_TRUE(Parse({"--stack=32767"}).UsesDefaultDatabase());
    for (const char* name :
         {"--dsn", "--driver", "--server", "--db", "--uid", "--pwd", "--connect"})
        EXPECT_FALSE(Parse({name, "x"}).UsesDefaultDatabase()) << name;
}

TEST(ConnectionOptions, MistakesAreRefusedWithTheirReason) {
    EXPECT_EQ(Refusal({"--db"}), "--db needs a value");
    EXPECT_EQ(Refusal({"SELECT 1"}), "unknown argument \"SELECT 1\"");
    EXPECT_EQ(Refusal({"--flag=1"}), "--flag takes no value");
    for (const char* bad : {"0", "-1", "32768", "2x", ""})
        EXPECT_NE(Refusal({"--stack", bad}).find("--stack needs a whole number"), std::string::npos)
            << bad;
}
