// kvlsql's command line: its own options reach their fields beside the connection options,
// and the help names every option.

#include <gtest/gtest.h>

#include "Options.h"

using kvlsql::ParseOptions;

TEST(Options, EveryOptionReachesItsField) {
    kvlsql::Options o = ParseOptions({"-c", "SELECT 1", "--count", "-f", "a.sql", "-c", "--log",
                                      "--db", "x", "--log", "-f", "-", "-b"});
    using kvlsql::Input;
    // In the order given; -c and -f take anything.
    EXPECT_EQ(o.inputs, (std::vector<Input>{{Input::Kind::kCommand, "SELECT 1"},
                                            {Input::Kind::kFile, "a.sql"},
                                            {Input::Kind::kCommand, "--log"},
                                            {Input::Kind::kFile, "-"}}));
    EXPECT_TRUE(o.count && o.log && o.stopOnError && !o.help);
    EXPECT_EQ(o.connection.db, "x");
    EXPECT_TRUE(ParseOptions({"--stop-on-error"}).stopOnError);
    EXPECT_TRUE(ParseOptions({"-h"}).help);
    EXPECT_THROW(ParseOptions({"-f"}), kvlsession::UsageError);
}

TEST(Options, HelpNamesEveryOption) {
    std::string help = kvlsql::HelpText();
    for (const char* name : {"--dsn", "--driver", "--server", "--db", "--uid", "--pwd", "--connect",
                             "--stack", "-c SQL", "-f FILE", "-b, --stop-on-error", "GO n", "$$",
                             "--count", "--log", "--help", "NULL", "exit status", "\\d TABLE"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}
