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

    // Runs a case with these arguments before its own, and checks what it must hold.
    void Check(const Case& c, std::vector<std::string> args = {}) {
        std::ofstream(home_ / "s.sql") << c.script;
        args.insert(args.end(), c.args.begin(), c.args.end());
        Outcome o = Run(args, c.script);
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
    std::map<std::string, std::string> env_;  // more variables for the program
};

}  // namespace

TEST_F(Kvlsql, CommandsFromTheCommandLineAndStandardInputPrintTheirTables) {
    Outcome o = Run({"-c", "SELECT 1 AS x"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " x \n---\n 1 \n(1 row)\n\n");
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::exists(data_ / "kvl2005" / "kvlsql.sqlite"));  // made on first use

    o = Run({}, "SELECT 1\nGO\nSELECT nome\n  FROM concelhos WHERE id = 4\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, " 1 \n---\n 1 \n(1 row)\n\n nome  \n-------\n Évora \n(1 row)\n\n");
}

TEST_F(Kvlsql, AFailedCommandIsReportedAndMakesTheStatusOne) {
    Outcome o = Run({"-c", "SELEKT"});
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, HasSubstr("syntax error"));
    EXPECT_THAT(o.err, HasSubstr("SELEKT"));
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(Run({"--stack", "0"}).status, 2);  // a usage error
}

TEST_F(Kvlsql, TheDefaultDatabaseIsCreatedOnceAndReused) {
    Outcome o =
        Run({"-c", "INSERT INTO ruas VALUES (18, 'R', 'Rua Nova do Almada', 1, 300, NULL)"});
    EXPECT_EQ(o.out, "(1 row affected)\n\n") << o.err;
    o = Run({"--log", "-c", "SELECT count(*) AS n FROM ruas", "-c",
             "SELECT tipo, freguesia, concelho FROM moradas WHERE id = 4"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_THAT(o.out, HasSubstr("  n \n----\n 18 \n"));
    EXPECT_THAT(o.out, HasSubstr(" Calçada | Misericórdia | Lisboa   \n(1 row)\n\nLog\tTrue\n"));
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

TEST_F(Kvlsql, ScriptsSendEachStatementOnItsOwnAndAnyFailureMakesTheStatusOne) {
    const Case cases[] = {
        {"statements on SQLite, which takes one per call",
         {},
         "CREATE TEMP TABLE t (a TEXT);\nINSERT INTO t VALUES ('x;y'), ('it''s');\n"
         "-- a comment; not a statement\nSELECT a FROM t; /* done */\n",
         0,
         {"(0 rows affected)\n\n(2 rows affected)\n\n a    \n------\n x;y  \n it's \n(2 rows)\n\n"},
         {},
         ""},
        {"a trigger body and GO n from a file",
         {"-f", "s.sql"},
         "CREATE TEMP TABLE t (a INTEGER);\nCREATE TEMP TABLE log (n INTEGER);\n"
         "CREATE TEMP TRIGGER tr AFTER INSERT ON t BEGIN\n  INSERT INTO log VALUES (new.a);\n"
         "  INSERT INTO log VALUES (CASE WHEN new.a > 1 THEN 10 END);\nEND;\n"
         "INSERT INTO t VALUES (2)\nGO 3\nSELECT count(*) AS n, sum(n) AS s FROM log;\n",
         0,
         {" 6 | 36 \n(1 row)\n"},
         {},
         ""},
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
        {"a bad GO count",
         {},
         "SELECT 1 AS x\nGO 0\nSELECT 2 AS y\n",
         1,
         {" y \n"},
         {" x \n"},
         "standard input:2: ERROR: GO needs a count from 1 to 2147483647, not 0"},
        {"a script that does not exist",
         {"-c", "SELECT 1 AS x", "-f", "none.sql"},
         "",
         1,
         {},
         {" x \n"},
         "kvlsql: cannot open the script none.sql: No such file or directory\n"},
        {"a script that cannot be read",
         {"-f", "."},
         "",
         1,
         {},
         {},
         ".:1: ERROR: reading failed\n"},
        {"--count, counted by the database first",
         {"--count", "-c", "SELECT nome FROM concelhos WHERE id < 3 ORDER BY id"},
         "",
         0,
         {"(2 rows predicted)\n nome   \n--------\n Lisboa \n Porto  \n(2 rows)\n"},
         {},
         ""},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(Kvlsql, PostgresBatchesScriptsAndARefusedLogin) {
    KVL_REQUIRE_POSTGRES();
    auto s = kvl::kvlSERV::Create();
    kvltest::Postgres::Configure(*s);
    std::vector<std::string> login{"--driver", s->Driver, "--server", s->Server,
                                   "--db",     s->DB,     "--uid",    s->UID};
    std::vector<std::string> args = login;
    args.insert(args.end(), {"--pwd", s->PWD + "-wrong", "--stack", "3", "-c", "SELECT 1"});
    Outcome o = Run(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_THAT(o.err, HasSubstr("kvlsql: cannot open the session: "));
    std::string reason = "password authentication failed";
    size_t first = o.err.find(reason);
    EXPECT_NE(first, std::string::npos) << o.err;
    EXPECT_EQ(o.err.find(reason, first + 1), std::string::npos) << o.err;  // said once

    const Case cases[] = {
        {"a dollar-quoted body holding \";\"",
         {"-f", "s.sql"},
         "CREATE FUNCTION pg_temp.f() RETURNS text AS $$ SELECT 'a;b'::text; $$ LANGUAGE sql;\n"
         "CREATE TEMP TABLE t (a int);\nINSERT INTO t VALUES (1)\nGO 2\n"
         "SELECT pg_temp.f() AS v, count(*) AS n FROM t;\n",
         0,
         {" v   | n \n-----+---\n a;b | 2 \n(1 row)\n"},
         {},
         ""},
        {"a -c text is one batch, with a result set for each statement",
         {"-c", "SELECT 1 AS a, NULL AS b; SELECT 'Évora' AS c"},
         "",
         0,
         {" a | b    \n---+------\n 1 | NULL \n(1 row)\n\n c     \n-------\n Évora \n(1 row)\n\n"},
         {},
         ""},
    };
    login.insert(login.end(), {"--pwd", s->PWD});
    for (const Case& c : cases) Check(c, login);
}

TEST_F(Kvlsql, BackslashDDescribesTheFieldsOfATableFromTheCatalog) {
    const std::string ruas =
        " field         | type | type name | size | digits | decimals |         min |        max "
        "| width | format                        \n"
        "---------------+------+-----------+------+--------+----------+-------------+------------"
        "+-------+-------------------------------\n"
        " id            |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 "
        "|    10 | {-+#}(-2147483648>2147483647) \n"
        " tipo          |    2 | varchar   |    4 |      0 |        0 |             |            "
        "|     4 | {}                            \n"
        " nome          |    2 | varchar   |   80 |      0 |        0 |             |            "
        "|    80 | {}                            \n"
        " freguesia     |    7 | int       |    4 |     10 |        0 | -2147483648 | 2147483647 "
        "|    10 | {-+#}(-2147483648>2147483647) \n"
        " comprimento   |   23 | real      |    4 |     24 |        0 |    -3.4E+27 |    3.4E+27 "
        "|    24 | {-+#.}(-3.4E+27>3.4E+27)      \n"
        " codigo_postal |    2 | varchar   |    8 |      0 |        0 |             |            "
        "|     8 | {}                            \n"
        "(6 fields)\n\n";
    env_["LC_ALL"] = "C";
    Outcome o = Run({"-c", "\\d ruas"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, ruas);

    const Case cases[] = {
        {"a table the catalog lacks",
         {},
         "\\d nenhuma\nSELECT 1 AS x;\n",
         1,
         {" x \n"},
         {"field"},
         "standard input:1: ERROR: \\d: the catalog has no table or view named nenhuma\n"},
        {"the tables",
         {"-c", "\\dt"},
         "",
         0,
         {" schema | name       | type  \n--------+------------+-------\n main   | concelhos  | "
          "table \n",
          " main   | ruas       | table \n main   | tipos_via  | table \n(7 rows)\n"},
         {"view"},
         ""},
        {"the tables and views", {"-c", "\\d"}, "", 0, {" main   | moradas    | view  \n"}, {}, ""},
        {"a view, in a script, with a statement under way",
         {"-f", "s.sql"},
         "SELECT 1 AS x\n\\d moradas\n;\n",
         0,
         {" concelho  |    2 | varchar   |   40 |", "(5 fields)\n\n x \n"},
         {},
         ""},
    };
    for (const Case& c : cases) Check(c);

    // A database made before the views were part of it gains them at its next use.
    EXPECT_EQ(Run({"-c", "DROP VIEW syscolumns"}).status, 0);
    o = Run({"-c", "\\d ruas"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, ruas);

    // Under a Portuguese locale the formats take its separator.
    env_["LC_ALL"] = "pt_PT.UTF-8";
    EXPECT_THAT(Run({"-c", "\\d ruas"}).out, HasSubstr("| {-+#.}(-3,4E+27>3,4E+27) "));
}

TEST_F(Kvlsql, WithoutItsCatalogViewsBackslashDSaysWhatIsMissing) {
    const std::string db = (home_ / "own.sqlite").string();
    Outcome o =
        Run({"--driver", "SQLite3", "--db", db, "-c", "CREATE TABLE t (a int)", "-c", "\\d t"});
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.err, HasSubstr("-c:1: ERROR: \\d t: the catalog query failed: "));
    EXPECT_THAT(o.err, HasSubstr("the scripts in the project's sql folder"));

    // The shipped script gives the database the views.
    o = Run({"--driver", "SQLite3", "--db", db, "-f", KVL_SOURCE_DIR "/sql/catalog-sqlite.sql",
             "-c", "\\d t"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_THAT(o.out, HasSubstr(" a     |    7 | int       |    4 |"));
}
