// kvlsql's command line: its own options reach their fields beside the connection options.

#include <gtest/gtest.h>

#include "Options.h"

using kvlsql::ParseOptions;

TEST(Options, EveryOptionReachesItsField) {
    kvlsql::Options o =
        ParseOptions({"-c",   "SELECT 1", "--count", "-f",        "a.sql", "-c",    "--log",
                      "--db", "x",        "--log",   "-f",        "-",     "-b",    "--ask",
                      "-t",   "-x",       "-W",      "--version", "-A",    "-F",    ";",
                      "-o",   "out.txt",  "--null",  "(nada)",    "-v",    "a=1=2", "--variable=b=",
                      "--csv"});
    using kvlsql::Input;
    // In the order given; -c and -f take anything.
    EXPECT_EQ(o.inputs, (std::vector<Input>{{Input::Kind::kCommand, "SELECT 1"},
                                            {Input::Kind::kFile, "a.sql"},
                                            {Input::Kind::kCommand, "--log"},
                                            {Input::Kind::kFile, "-"}}));
    EXPECT_TRUE(o.run.predictRows && o.log && o.run.stopOnError && o.run.ask && !o.help);
    EXPECT_TRUE(o.run.output.tuplesOnly && o.run.output.expanded && o.askPassword && o.version);
    EXPECT_EQ(o.run.output.layout, kvlsql::Layout::kCsv);  // the last layout given
    EXPECT_EQ(o.run.output.fieldSeparator, ";");
    EXPECT_EQ(o.run.output.nullText, "(nada)");
    EXPECT_EQ(o.outputFile, "out.txt");
    EXPECT_EQ(o.variables, (std::map<std::string, std::string>{{"a", "1=2"}, {"b", ""}}));
    EXPECT_EQ(o.connection.db, "x");
    EXPECT_TRUE(ParseOptions({"--stop-on-error"}).run.stopOnError);
    EXPECT_TRUE(ParseOptions({"-h"}).help);
    EXPECT_EQ(ParseOptions({"--unaligned"}).run.output.layout, kvlsql::Layout::kUnaligned);
    for (auto bad : std::vector<std::vector<std::string>>{
             {"-f"}, {"-v", "novalue"}, {"-v", "=1"}, {"--csv=yes"}, {"-At"}})
        EXPECT_THROW(ParseOptions(bad), kvlsession::UsageError) << bad[0];
}
