// Running commands through a scripted driver: what is printed for each result set, a
// fetch that fails mid-result, the row count of --count, the failures of a script, Ctrl-C,
// and kvlsql's own commands.

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include "Databases.h"
#include "Interrupts.h"
#include "Runner.h"
#include "ScriptReader.h"
#include "TypedLines.h"

using kvltest::ScriptedOdbc;

namespace {

constexpr int16_t kInteger = 4;   // SQL_INTEGER
constexpr int16_t kVarchar = 12;  // SQL_VARCHAR

ScriptedOdbc::Result Set(std::vector<kvl::odbc::ColumnDescription> columns,
                         std::vector<ScriptedOdbc::Row> rows, int64_t rowCount = -1) {
    return {std::move(columns), std::move(rows), rowCount};
}

ScriptedOdbc::Result Streets() {
    return Set({{"id", kInteger, 10}, {"nome", kVarchar, 80}, {"codigo_postal", kVarchar, 8}},
               {{"1", "Rua Augusta", "1100-053"}, {"10", "Praça da Ribeira", std::nullopt}});
}

struct RunnerTest : ::testing::Test {
    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
    std::shared_ptr<kvltest::ScriptedDialogs> asker = std::make_shared<kvltest::ScriptedDialogs>();
    std::shared_ptr<kvl::kvlSERV> server = kvl::kvlSERV::Create(odbc);
    std::ostringstream out, err;

    void SetUp() override { server->Abre(); }
    kvlsql::Runner MakeRunner(kvlsql::RunSettings settings = {},
                              kvlsql::Interrupts* interrupts = nullptr) {
        return kvlsql::Runner(server, out, err, settings, interrupts, asker);
    }
    bool Run(const std::string& sql, kvlsql::RunSettings settings = {}) {
        return MakeRunner(settings).Run(sql, {"-c", 1});
    }
    void RunScript(kvlsql::Runner& runner, const std::string& script) {
        std::istringstream in(script);
        kvlsql::ScriptReader reader(in, "s.sql");
        runner.Run(reader);
    }
};

}  // namespace

TEST_F(RunnerTest, PrintsEveryResultSetOfABatchInTurn) {
    odbc->ScriptExecution({Set({{"n", kInteger, 10}}, {{"7"}, {"8"}}), Set({}, {}, 3),
                           Set({{"n", kInteger, 10}}, {}), Set({}, {}, 1)});
    EXPECT_TRUE(Run("SELECT n FROM x; UPDATE x; SELECT n FROM y; DELETE FROM y"));
    EXPECT_EQ(out.str(),
              " n \n---\n 7 \n 8 \n(2 rows)\n\n(3 rows affected)\n\n"
              " n \n---\n(0 rows)\n\n(1 row affected)\n\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(kvltest::SlotBusy(*server, 1));  // the slot went back to the session
}

// The library ends the rows at a failed fetch; the command counts as failed.
TEST_F(RunnerTest, AResultWhoseFetchFailsIsPrintedAsIncomplete) {
    odbc->Fail("Fetch", {"08S01", 10054, "Communication link failure"});
    odbc->ScriptExecution({Streets()});
    EXPECT_FALSE(Run("SELECT id, nome, codigo_postal FROM ruas"));
    EXPECT_EQ(out.str().find("(0 rows)"), std::string::npos) << out.str();
    EXPECT_EQ(err.str(),
              "-c:1: ERROR 08S01: Communication link failure\n"
              "kvlsql: reading the rows failed after 0 rows; the result above is incomplete\n");
}

TEST_F(RunnerTest, CountComesFromTheDatabaseBeforeTheRowsOfAQueryAlone) {
    kvlsql::RunSettings counting;
    counting.predictRows = true;
    odbc->ScriptExecution({Set({{"count", kInteger, 10}}, {{"2"}})});
    odbc->ScriptExecution({Streets()});
    EXPECT_TRUE(Run("select * FROM ruas -- all;", counting));
    EXPECT_EQ(odbc->executed, (std::vector<std::string>{
                                  "SELECT count(*) FROM (\nselect * FROM ruas\n) AS kvlsql_count",
                                  "select * FROM ruas -- all;"}));
    EXPECT_TRUE(out.str().starts_with("(2 rows predicted)\n id | nome")) << out.str();

    // Nothing else is counted: its rewriting could change what it does.
    for (const char* sql : {"INSERT INTO t SELECT * FROM u", "SELECT 1; SELECT 2", "SELECTED"}) {
        odbc->executed.clear();
        Run(sql, counting);
        EXPECT_EQ(odbc->executed, std::vector<std::string>{sql});
    }

    // A count the database refuses is said once, quietly, and the query runs as given.
    odbc->executed.clear();
    odbc->Fail("ExecDirect", {"42601", 1, "ERROR: syntax error;\nError while executing the query"});
    odbc->ScriptExecution({Streets()});
    err.str("");
    EXPECT_TRUE(Run("SELECT * FROM ruas FOR UPDATE", counting));
    EXPECT_EQ(odbc->executed.size(), 2u);
    EXPECT_EQ(err.str(), "-c:1: NOTICE: --count: the rows could not be counted: syntax error\n");
}

TEST_F(RunnerTest, EveryFailureOfAScriptCountsAndStopOnErrorStopsAtTheFirst) {
    struct Case {
        const char* script;
        bool stopOnError;
        size_t executions;
        int failures;
    };
    // The first execution fails in every case.
    const Case cases[] = {
        {"SELEKT;\nSELECT 1;\nSELECT 2", false, 3, 1},
        {"SELEKT;\nSELECT 1;\nSELECT 2", true, 1, 1},
        {"INSERT INTO t VALUES (1)\nGO 3\nSELECT 1", false, 4, 1},
        {"INSERT INTO t VALUES (1)\nGO 3\nSELECT 1", true, 1, 1},
        {"SELEKT\nGO 0\nSELECT 1;", false, 1, 2},  // the bad count is a failure too
        {"\\nothing\nSELECT 1;", true, 0, 1},      // and so is an unknown command (last:
                                                   // the failure armed stays unused)
    };
    for (const Case& c : cases) {
        odbc->executed.clear();
        odbc->Fail("ExecDirect", {"42000", 1, "syntax error"});
        kvlsql::RunSettings settings;
        settings.stopOnError = c.stopOnError;
        kvlsql::Runner runner = MakeRunner(settings);
        RunScript(runner, c.script);
        EXPECT_EQ(odbc->executed.size(), c.executions) << c.script << " " << c.stopOnError;
        EXPECT_EQ(runner.Failures(), c.failures) << c.script << " " << c.stopOnError;
        EXPECT_EQ(runner.Stopped(), c.stopOnError);
    }
    EXPECT_NE(err.str().find("s.sql:2: ERROR: GO needs a count"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("s.sql:1: ERROR: unknown command \\nothing"), std::string::npos);
}

// At a terminal the prompt comes back after a failure, even with --stop-on-error (as psql);
// Abort, asked for with --ask, ends the session.
TEST_F(RunnerTest, AtATerminalTheNextStatementFollowsAFailureUnlessTheUserAborts) {
    for (bool ask : {false, true}) {
        odbc->executed.clear();
        odbc->Fail("ExecDirect", {"42000", 1, "syntax error"});
        asker->answers = {kvl::kAbort};
        kvlsql::RunSettings settings;
        settings.stopOnError = true;
        settings.ask = ask;
        kvlsql::Runner runner = MakeRunner(settings);
        kvltest::TypedLines typed({"SELEKT;", "SELECT 1;"});
        kvlsql::ScriptReader reader(typed, "standard input");
        runner.Run(reader);
        EXPECT_EQ(odbc->executed.size(), ask ? 1u : 2u);
        EXPECT_EQ(runner.Stopped(), ask);
        EXPECT_EQ(runner.Failures(), 1);
    }
}

// Outside a terminal, Ctrl-C stops the rows being read and the script.
TEST_F(RunnerTest, CtrlCStopsTheReadingAndTheScript) {
    std::atomic<bool> stopped = false;
    kvlsql::Interrupts interrupts([&] { stopped = true; });
    kvlsql::Runner runner = MakeRunner({}, &interrupts);
    odbc->ScriptExecution({Streets()});
    std::raise(SIGINT);
    while (!interrupts.Pending()) std::this_thread::yield();
    RunScript(runner, "SELECT * FROM ruas;\nSELECT 2;");
    EXPECT_TRUE(stopped);  // the watcher stopped what ran
    EXPECT_EQ(odbc->executed.size(), 1u);
    EXPECT_EQ(out.str().find("Rua Augusta"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("interrupted after 0 rows"), std::string::npos) << err.str();
    EXPECT_TRUE(runner.Stopped());
}

TEST_F(RunnerTest, BackslashCommandsChangeWhatFollows) {
    kvlsql::Runner runner = MakeRunner();
    auto file = kvltest::TestDir() / "out.txt";
    auto inner = kvltest::TestDir() / "inner.sql";
    std::ofstream(inner) << "SELECT 1;\n\\i " << inner.string() << "\n";
    odbc->ScriptExecution({Set({{"n", kInteger, 10}}, {{"1"}})});
    odbc->ScriptExecution({Set({}, {}, 0)});
    odbc->ScriptExecution({Set({{"n", kInteger, 10}}, {{"2"}})});
    RunScript(runner, "\\set t ruas\nSELECT * FROM :t;\n\\unset t\nSELECT :t;\n\\x on\n\\o " +
                          file.string() + "\nSELECT 2;\n\\o\n\\timing\n\\q\nSELECT 3;\n");
    EXPECT_EQ(odbc->executed,
              (std::vector<std::string>{"SELECT * FROM ruas", "SELECT :t", "SELECT 2"}));
    EXPECT_EQ(out.str(), " n \n---\n 1 \n(1 row)\n\n(0 rows affected)\n\n");
    std::stringstream written;
    written << std::ifstream(file).rdbuf();
    EXPECT_EQ(written.str(), "-[ RECORD 1 ]\nn | 2\n(1 row)\n\n");
    EXPECT_EQ(err.str(), "Expanded display is on.\nTiming is on.\n");
    EXPECT_TRUE(runner.Stopped());  // \q

    // A script that runs itself stops at some depth, each failure told where it is.
    kvlsql::Runner nested = MakeRunner();
    err.str("");
    odbc->executed.clear();
    EXPECT_TRUE(nested.Run("\\i " + inner.string(), {"-c", 1}));
    EXPECT_EQ(odbc->executed.size(), 16u);
    EXPECT_EQ(nested.Failures(), 1);
    EXPECT_NE(err.str().find(inner.string() + ":2: ERROR: \\i " + inner.string() +
                             ": scripts run within one another more than 16 deep"),
              std::string::npos)
        << err.str();
}
