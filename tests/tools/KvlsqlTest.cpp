// The built program end to end, each test with a home folder of its own: the default
// database, commands from -c and from standard input, failures and exit statuses.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Databases.h"
#include "SampleDatabase.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
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
        home_ = fs::temp_directory_path() /
                ("kvlsql-test-" + std::to_string(getpid()) + "-" + std::to_string(++n));
        fs::create_directories(home_);
        data_ = home_ / "data";
    }
    void TearDown() override { fs::remove_all(home_); }

    // Runs the program with HOME and XDG_DATA_HOME in the test's folder (XDG_DATA_HOME
    // unset when data_ is empty), input as its standard input.
    Outcome Run(std::vector<std::string> args, const std::string& input = "") {
        std::ofstream(home_ / "stdin") << input;
        pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home_.c_str(), 1);
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
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(Kvlsql, ACommandOnAFreshHomePrintsItsTable) {
    Outcome o = Run({"-c", "SELECT 1 AS x"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " x\n---\n 1\n(1 rows)\n\n");
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));
}

TEST_F(Kvlsql, StandardInputIsRunBatchByBatch) {
    Outcome o = Run({}, "SELECT 1\nGO\nSELECT nome\n  FROM concelhos WHERE id = 4\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " 1\n---\n 1\n(1 rows)\n\n nome\n-------\n Évora\n(1 rows)\n\n");
}

TEST_F(Kvlsql, AFailedCommandIsReportedAndTheLastCommandSetsTheStatus) {
    Outcome o = Run({"-c", "SELEKT"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(Has(o.err, "syntax error")) << o.err;
    EXPECT_TRUE(Has(o.err, "SELEKT")) << o.err;
    EXPECT_EQ(o.out, "");

    o = Run({"-c", "SELEKT", "-c", "SELECT 2 AS y"});
    EXPECT_EQ(o.status, 0);
    EXPECT_TRUE(Has(o.out, " y\n---\n 2\n"));
    EXPECT_EQ(Run({}, "SELECT 1\nGO\nSELEKT\n").status, 1);
}

TEST_F(Kvlsql, TheDefaultDatabaseIsCreatedOnceAndReused) {
    Outcome o =
        Run({"-c", "INSERT INTO ruas VALUES (18, 'R', 'Rua Nova do Almada', 1, 300, NULL)"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "(1 rows affected)\n\n");
    o = Run({"-c", "SELECT count(*) AS n FROM ruas", "-c",
             "SELECT tipo, freguesia, concelho FROM moradas WHERE id = 4"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Has(o.out, " n\n----\n 18\n")) << o.out;
    EXPECT_TRUE(Has(o.out, " Calçada | Misericórdia | Lisboa\n")) << o.out;
}

TEST_F(Kvlsql, WithoutXdgDataHomeTheDatabaseLivesUnderHome) {
    data_.clear();
    EXPECT_EQ(Run({"-c", "SELECT 1"}).status, 0);
    EXPECT_TRUE(fs::exists(home_ / ".local" / "share" / "kvl2005" / "kvlsql.sqlite"));
    const char* home = std::getenv("HOME");
    std::string savedHome = home ? home : "";
    setenv("HOME", "/h", 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);  // ignored: not an absolute path
    EXPECT_EQ(kvlsql::DefaultDatabasePath(), "/h/.local/share/kvl2005/kvlsql.sqlite");
    setenv("XDG_DATA_HOME", "/x", 1);
    EXPECT_EQ(kvlsql::DefaultDatabasePath(), "/x/kvl2005/kvlsql.sqlite");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(Kvlsql, SessionsThatCannotOpenSayWhy) {
    fs::create_directories(home_ / "no-drivers");
    const char* drivers = std::getenv("ODBCSYSINI");
    std::string saved = drivers ? drivers : "";
    setenv("ODBCSYSINI", (home_ / "no-drivers").c_str(), 1);
    Outcome o = Run({"-c", "SELECT 1"});
    setenv("ODBCSYSINI", saved.c_str(), 1);
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(Has(o.err, "\"SQLite3\" is not registered")) << o.err;
    EXPECT_FALSE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));

    o = Run({"--connect", "DRIVER=SQLite3;DATABASE=" + (home_ / "none" / "x.db").string(), "-c",
             "SELECT 1"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(Has(o.err, "cannot open the session: ")) << o.err;
    EXPECT_EQ(o.out, "");
}

TEST_F(Kvlsql, HelpLogAndUsageErrors) {
    Outcome o = Run({"--help"});
    EXPECT_EQ(o.status, 0);
    EXPECT_TRUE(Has(o.out, "--connect TEXT"));
    EXPECT_EQ(Run({"--stack", "0"}).status, 2);

    o = Run({"--log", "-c", "SELECT 1 AS x"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Has(o.out, "(1 rows)\n\nLog\tTrue\n")) << o.out;
    EXPECT_TRUE(Has(o.out, "\nActCom\tSELECT 1 AS x\n")) << o.out;
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
