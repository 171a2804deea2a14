// The built program end to end, each test with a home folder of its own: the default
// database, commands from -c and from standard input, failures and exit statuses.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Databases.h"

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

void Redirect(const fs::path& file, int fd, int flags) {
    int f = open(file.c_str(), flags, 0600);
    if (f < 0 || dup2(f, fd) < 0) _exit(126);
    close(f);
}

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

    // Runs the program in the test's folder, with HOME there, XDG_DATA_HOME as data_
    // (unset when empty) and env_, input as its standard input.
    Outcome Run(std::vector<std::string> args, const std::string& input = "") {
        std::ofstream(home_ / "stdin") << input;
        pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home_.c_str(), 1);
            if (chdir(home_.c_str()) != 0) _exit(126);
            for (const auto& [name, value] : env_) setenv(name.c_str(), value.c_str(), 1);
            if (data_.empty()) {
                unsetenv("XDG_DATA_HOME");
            } else {
                setenv("XDG_DATA_HOME", data_.c_str(), 1);
            }
            Redirect(home_ / "stdin", STDIN_FILENO, O_RDONLY);
            Redirect(home_ / "stdout", STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            Redirect(home_ / "stderr", STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            std::vector<char*> argv{const_cast<char*>(KVLSQL_PROGRAM)};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(KVLSQL_PROGRAM, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(home_ / "stdout"),
                Slurp(home_ / "stderr")};
    }

    fs::path home_, data_;
    std::map<std::string, std::string> env_;  // more variables for the program
};

}  // namespace

TEST_F(Kvlsql, CommandsFromTheCommandLineAndStandardInputPrintTheirTables) {
    Outcome o = Run({"-c", "SELECT 1 AS x"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " x\n---\n 1\n(1 rows)\n\n");
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));  // made on first use

    o = Run({}, "SELECT 1\nGO\nSELECT nome\n  FROM concelhos WHERE id = 4\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " 1\n---\n 1\n(1 rows)\n\n nome\n-------\n Évora\n(1 rows)\n\n");
}

TEST_F(Kvlsql, AFailedCommandIsReportedAndTheLastCommandSetsTheStatus) {
    Outcome o = Run({"-c", "SELEKT"});
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, HasSubstr("syntax error"));
    EXPECT_THAT(o.err, HasSubstr("SELEKT"));
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(Run({"-c", "SELEKT", "-c", "SELECT 2 AS y"}).status, 0);
    EXPECT_EQ(Run({}, "SELECT 1\nGO\nSELEKT\n").status, 1);
    EXPECT_EQ(Run({"--stack", "0"}).status, 2);  // a usage error
}

TEST_F(Kvlsql, TheDefaultDatabaseIsCreatedOnceAndReused) {
    Outcome o =
        Run({"-c", "INSERT INTO ruas VALUES (18, 'R', 'Rua Nova do Almada', 1, 300, NULL)"});
    EXPECT_EQ(o.out, "(1 rows affected)\n\n") << o.err;
    o = Run({"--log", "-c", "SELECT count(*) AS n FROM ruas", "-c",
             "SELECT tipo, freguesia, concelho FROM moradas WHERE id = 4"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_THAT(o.out, HasSubstr(" n\n----\n 18\n"));
    EXPECT_THAT(o.out, HasSubstr(" Calçada | Misericórdia | Lisboa\n(1 rows)\n\nLog\tTrue\n"));
    EXPECT_THAT(o.out, HasSubstr("\nActCom\tSELECT count(*) AS n FROM ruas\n"));
}

TEST_F(Kvlsql, WithoutXdgDataHomeTheDatabaseLivesUnderHome) {
    data_.clear();
    EXPECT_EQ(Run({"-c", "SELECT 1"}).status, 0);
    EXPECT_TRUE(fs::exists(home_ / ".local" / "share" / "kvl2005" / "kvlsql.sqlite"));
    data_ = "relative/data";  // not an absolute path, so ignored
    EXPECT_EQ(Run({"-c", "SELECT 1"}).status, 0);
    EXPECT_FALSE(fs::exists(home_ / "relative"));
}

TEST_F(Kvlsql, SessionsThatCannotOpenSayWhy) {
    env_["ODBCSYSINI"] = home_;  // a folder without odbcinst.ini: no driver registered
    Outcome o = Run({"-c", "SELECT 1"});
    env_.clear();
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, HasSubstr("\"SQLite3\" is not registered"));
    EXPECT_FALSE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));

    o = Run({"--connect", "DRIVER=SQLite3;DATABASE=" + (home_ / "none" / "x.db").string(), "-c",
             "SELECT 1"});
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, HasSubstr("cannot open the session: "));
    EXPECT_EQ(o.out, "");
}

TEST_F(Kvlsql, PostgresBatchesPrintEachResultSet) {
    KVL_REQUIRE_POSTGRES();
    auto s = kvl::kvlSERV::Create();
    kvltest::Postgres::Configure(*s);
    Outcome o = Run({"--driver", s->Driver, "--server", s->Server, "--db", s->DB, "--uid", s->UID,
                     "--pwd", s->PWD, "-c", "SELECT 1 AS a, NULL AS b; SELECT 'Évora' AS c"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              " a | b\n---+------\n 1 | NULL\n(1 rows)\n\n"
              " c\n-------\n Évora\n(1 rows)\n\n");
}
