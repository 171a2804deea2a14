// Running commands through a scripted driver: what is printed for each result set, a
// fetch that fails mid-result, the row-count prediction, and the failures of a script.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "LaterFailure.h"
#include "Runner.h"
#include "ScriptReader.h"

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
    std::shared_ptr<kvltest::LaterFailure> odbc = std::make_shared<kvltest::LaterFailure>();
    std::shared_ptr<kvltest::ScriptedDialogs> dialogs =
        std::make_shared<kvltest::ScriptedDialogs>();
    std::shared_ptr<kvl::kvlSERV> server = kvl::kvlSERV::Create(odbc);
    std::ostringstream out, err;

    void SetUp() override {
        server->Dialogos = dialogs;
        server->Abre();
    }
    bool Run(const std::string& sql, bool predict = false) {
        return kvlsql::Runner(server, out, err, predict).Run(sql);
    }
};

}  // namespace

TEST_F(RunnerTest, PrintsEveryResultSetOfABatchInTurn) {
    odbc->ScriptExecution({Streets(), Set({}, {}, 3), Set({{"n", kInteger, 10}}, {}),
                           Set({}, {}, 1), Set({{"n", kInteger, 10}}, {{"7"}})});
    EXPECT_TRUE(Run("SELECT id, nome, codigo_postal FROM ruas; UPDATE x; SELECT n FROM y"));
    EXPECT_EQ(out.str(),
              " id | nome             | codigo_postal\n"
              "----+------------------+---------------\n"
              "  1 | Rua Augusta      | 1100-053\n"
              " 10 | Praça da Ribeira | NULL\n"
              "(2 rows)\n\n"
              "(3 rows affected)\n\n"
              " n\n"
              "---\n"
              "(0 rows)\n\n"
              "(1 row affected)\n\n"
              " n\n"
              "---\n"
              " 7\n"
              "(1 row)\n\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(kvltest::SlotBusy(*server, 1));  // the slot went back to the session
}

// The rows read before the failure are shown, and the command counts as failed.
TEST_F(RunnerTest, AResultWhoseFetchFailsIsPrintedAsIncomplete) {
    odbc->FailCall("Fetch", 2, {{"08S01", 10054, "Communication link failure"}});
    odbc->ScriptExecution({Streets()});
    EXPECT_FALSE(Run("SELECT id, nome, codigo_postal FROM ruas"));
    EXPECT_NE(out.str().find("Rua Augusta"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("(1 row)"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("reading the rows failed after 1 row"), std::string::npos)
        << err.str();
    EXPECT_FALSE(kvltest::SlotBusy(*server, 1));
}

TEST_F(RunnerTest, PredictionComesFromTheCountBatchBeforeTheRows) {
    odbc->ScriptExecution({Set({{"count", kInteger, 10}}, {{"2"}}), Streets()});
    EXPECT_TRUE(Run("SELECT * FROM ruas", true));
    EXPECT_EQ(odbc->executed.back(), "SELECT count(*) FROM ruas SELECT * FROM ruas ");
    EXPECT_TRUE(out.str().starts_with("(2 rows predicted)\n id | nome")) << out.str();
    EXPECT_EQ(out.str().find("count"), std::string::npos);  // the count's own set is not shown

    // The rewriting keeps only SELECT statements: anything else runs as typed.
    EXPECT_TRUE(Run("INSERT INTO t SELECT * FROM u", true));
    EXPECT_EQ(odbc->executed.back(), "INSERT INTO t SELECT * FROM u");
    EXPECT_TRUE(Run(" \n select 1 as x", true));
    EXPECT_EQ(odbc->executed.back(), "SELECT 1 SELECT 1 as x ");
}

TEST_F(RunnerTest, ARejectedCountBatchIsSaidPlainlyAndTheQueryRunsAsGiven) {
    odbc->Fail("ExecDirect", {"42000", 1, "syntax error at or near \"SELECT\""});
    odbc->ScriptExecution({Streets()});
    EXPECT_TRUE(Run("SELECT * FROM ruas", true));
    EXPECT_EQ(odbc->executed,
              (std::vector<std::string>{"SELECT count(*) FROM ruas SELECT * FROM ruas ",
                                        "SELECT * FROM ruas"}));
    EXPECT_TRUE(dialogs->asked.empty());  // the generated text is not shown as the user's
    EXPECT_TRUE(server->ComMsg);
    EXPECT_EQ(err.str(),
              "kvlsql: --count: the driver rejected the library's row-count batch (count "
              "statements and queries separated by blanks); the query runs without a "
              "prediction\n");
    EXPECT_TRUE(out.str().starts_with(" id | nome")) << out.str();
    EXPECT_NE(out.str().find("(2 rows)"), std::string::npos);
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
    };
    for (const Case& c : cases) {
        odbc->executed.clear();
        odbc->Fail("ExecDirect", {"42000", 1, "syntax error"});
        std::istringstream in(c.script);
        kvlsql::ScriptReader script(in, "s.sql");
        kvlsql::Runner runner(server, out, err, false, c.stopOnError);
        runner.Run(script);
        EXPECT_EQ(odbc->executed.size(), c.executions) << c.script << " " << c.stopOnError;
        EXPECT_EQ(runner.Failures(), c.failures) << c.script << " " << c.stopOnError;
        EXPECT_EQ(runner.Stopped(), c.stopOnError);
    }
}
