// The built program end to end, each test with a home folder of its own: the default
// database, commands from -c, from standard input and from files in the order given, the exit
// statuses. What the commands do is tested with the runner; at a terminal, in end_to_end.

#include <gmock/gmock.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CatalogViews.h"

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& file) {
    std::stringstream s;
    s << std::ifstream(file).rdbuf();
    return s.str();
}

// One run of the program: its arguments and a script, given both as its standard input
// and as the file s.sql in its folder; what its outputs must hold.
struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string script;
    int status;
    std::vector<std::string> outHas, outLacks;
    std::string errHas;  // "": standard error stays empty
};

class Kvlsql : public ::testing::Test {
  protected:
    void SetUp() override {
        kvltest::UsePrivateOdbcIni();
        static int n = 0;
        home_ = kvltest::TestDir() / ("home" + std::to_string(++n));
        fs::create_directories(home_);
        data_ = home_ / "data";
    }
    void TearDown() override { fs::remove_all(home_); }

    // Runs the program in the test's folder, with HOME there and XDG_DATA_HOME as data_, input
    // as its standard input.
    Outcome Run(const std::vector<std::string>& args, const std::string& input = "") {
        std::ofstream(home_ / "stdin") << input;
        using kvltest::ShellQuoted;
        std::string command = "cd " + ShellQuoted(home_) + " && HOME=" + ShellQuoted(home_) +
                              " XDG_DATA_HOME=" + ShellQuoted(data_) + " " + KVLSQL_PROGRAM;
        for (const std::string& a : args) command += " " + ShellQuoted(a);
        const int status = std::system((command + " <stdin >stdout 2>stderr").c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(home_ / "stdout"),
                Slurp(home_ / "stderr")};
    }

    // Runs a case and checks what it must hold.
    void Check(const Case& c) {
        std::ofstream(home_ / "s.sql") << c.script;
        Outcome o = Run(c.args, c.script);
        EXPECT_EQ(o.status, c.status) << c.what << "\n" << o.err;
        for (const std::string& text : c.outHas) EXPECT_THAT(o.out, HasSubstr(text)) << c.what;
        for (const std::string& text : c.outLacks)
            EXPECT_THAT(o.out, testing::Not(HasSubstr(text))) << c.what;
        if (c.errHas.empty()) {
            EXPECT_EQ(o.err, "") << c.what;
        } else {
            EXPECT_THAT(o.err, HasSubstr(c.errHas)) << c.what;
        }
    }

    fs::path home_, data_;
};

}  // namespace

TEST_F(Kvlsql, CommandsFromTheCommandLineAndStandardInputPrintTheirTables) {
    Outcome o = Run({"-c", "SELECT 1 AS x"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out + o.err, " x \n---\n 1 \n(1 row)\n\n");        // nothing on standard error
    EXPECT_TRUE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));  // made on first use

    o = Run({}, "SELECT 1\nGO\nSELECT nome\n  FROM concelhos WHERE id = 4\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " 1 \n---\n 1 \n(1 row)\n\n nome  \n-------\n Évora \n(1 row)\n\n");
}

TEST_F(Kvlsql, AUsageErrorMakesTheStatusTwoAndRunsNothing) {
    Outcome o = Run({"-c", "SELECT 1", "--stack", "0"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_THAT(o.err, HasSubstr("(kvlsql --help lists the options)"));
}

TEST_F(Kvlsql, CommandsAndScriptsRunInTheOrderGivenAndAnyFailureMakesTheStatusOne) {
    const Case cases[] = {
        {"every command runs, and one failure sets the status",
         {"-c", "SELEKT", "-f", "-", "-c", "SELECT 3 AS z"},
         "SELECT 1 AS x;\nSELEKT;\nSELECT 2 AS y;\n",
         1,
         {" x \n", " y \n", " z \n"},
         {},
         "SELEKT"},
        {"--stop-on-error stops at the first failure",
         {"-c", "SELECT 1 AS x", "--stop-on-error", "-f", "-", "-c", "SELECT 3 AS z"},
         "SELEKT;\nSELECT 2 AS y;\n",
         1,
         {" x \n"},
         {" y \n", " z \n"},
         "SELEKT"},
        {"EXIT in a script ends the session",
         {"-b", "-f", "s.sql", "-c", "SELECT 3 AS z"},
         "SELECT 1 AS x;\nexit\nSELECT 2 AS y;\n",
         0,
         {" x \n"},
         {" y \n", " z \n"},
         ""},
        {"a script that does not exist, before anything runs",
         {"-c", "SELECT 1 AS x", "-f", "none.sql"},
         "",
         1,
         {},
         {" x \n"},
         "kvlsql: cannot open the script none.sql: No such file or directory\n"},
        {"--log prints the session's SQL log at the end",
         {"--log", "-c", "SELECT 1 AS x"},
         "",
         0,
         {"(1 row)\n\nLog\tTrue\n", "\nActCom\tSELECT 1 AS x\n"},
         {},
         ""},
    };
    for (const Case& c : cases) Check(c);
}
