// The command line: every option reaches its field, and mistakes are refused.

#include <gtest/gtest.h>

#include "Options.h"

using kvlsql::ParseOptions;

TEST(Options, EveryOptionReachesItsField) {
    kvlsql::Options o = ParseOptions({"--dsn", "d", "--driver=PostgreSQL", "--server", "srv",
                                      "--db=a=b", "--uid", "eu", "--pwd", "", "--connect", "C"});
    EXPECT_EQ(o.dsn, "d");
    EXPECT_EQ(o.driver, "PostgreSQL");
    EXPECT_EQ(o.server, "srv");
    EXPECT_EQ(o.db, "a=b");  // only the first "=" separates
    EXPECT_EQ(o.uid, "eu");
    EXPECT_EQ(o.pwd, "");  // an empty password is still given
    EXPECT_EQ(o.connect, "C");
    o = ParseOptions({"-c", "SELECT 1", "--count", "-f", "a.sql", "-c", "--log", "--log", "-f", "-",
                      "--stack", "3", "-b"});
    using kvlsql::Input;
    // In the order given; -c and -f take anything.
    EXPECT_EQ(o.inputs, (std::vector<Input>{{Input::Kind::kCommand, "SELECT 1"},
                                            {Input::Kind::kFile, "a.sql"},
                                            {Input::Kind::kCommand, "--log"},
                                            {Input::Kind::kFile, "-"}}));
    EXPECT_TRUE(o.count && o.log && o.stopOnError && !o.help);
    EXPECT_TRUE(ParseOptions({"--stop-on-error"}).stopOnError);
    EXPECT_EQ(o.stack, 3);
    // Any one connection option leaves the default database; commands and flags do not.
    EXPECT_TRUE(o.UsesDefaultDatabase());
    EXPECT_TRUE(ParseOptions({"-h"}).help);
    for (const char* name :
         {"--dsn", "--driver", "--server", "--db", "--uid", "--pwd", "--connect"})
        EXPECT_FALSE(ParseOptions({name, "x"}).UsesDefaultDatabase()) << name;
}

TEST(Options, MistakesAreRefusedWithTheirReason) {
    auto reason = [](std::vector<std::string> args) {
        try {
            ParseOptions(args);
        } catch (const kvlsql::UsageError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(reason({"--db"}), "--db needs a value");
    EXPECT_EQ(reason({"-f"}), "-f needs a value");
    EXPECT_EQ(reason({"SELECT 1"}), "unknown argument \"SELECT 1\"");
    EXPECT_EQ(reason({"--count=1"}), "--count takes no value");
    for (const char* bad : {"0", "-1", "32768", "2x", ""})
        EXPECT_NE(reason({"--stack", bad}).find("--stack needs a whole number"), std::string::npos)
            << bad;
    EXPECT_EQ(ParseOptions({"--stack=32767"}).stack, 32767);
}

TEST(Options, HelpNamesEveryOption) {
    std::string help = kvlsql::HelpText();
    for (const char* name : {"--dsn", "--driver", "--server", "--db", "--uid", "--pwd", "--connect",
                             "--stack", "-c SQL", "-f FILE", "-b, --stop-on-error", "GO n", "$$",
                             "--count", "--log", "--help", "NULL", "exit status", "\\d TABLE"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}
