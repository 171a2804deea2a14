// Running commands through a scripted driver: what is printed for each result set and
// the row-count prediction.

#include <gtest/gtest.h>

#include <sstream>

#include "Databases.h"
#include "Runner.h"

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
    kvltest::ScriptedSession s;
    std::ostringstream out, err;
    bool Run(const std::string& sql, bool predict = false) {
        return kvlsql::Runner(s.server, out, err, predict).Run(sql);
    }
};

}  // namespace

TEST_F(RunnerTest, PrintsEveryResultSetOfABatchInTurn) {
    s.odbc->ScriptExecution({Streets(), Set({}, {}, 3), Set({{"n", kInteger, 10}}, {})});
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
              "(0 rows)\n\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(kvltest::SlotBusy(*s.server, 1));  // the slot went back to the session
}

TEST_F(RunnerTest, PredictionComesFromTheCountBatchBeforeTheRows) {
    s.odbc->ScriptExecution({Set({{"count", kInteger, 10}}, {{"2"}}), Streets()});
    EXPECT_TRUE(Run("SELECT * FROM ruas", true));
    EXPECT_EQ(s.odbc->executed.back(), "SELECT count(*) FROM ruas SELECT * FROM ruas ");
    EXPECT_TRUE(out.str().starts_with("(2 rows predicted)\n id | nome")) << out.str();
    EXPECT_EQ(out.str().find("count"), std::string::npos);  // the count's own set is not shown

    // The rewriting keeps only SELECT statements: anything else runs as typed.
    EXPECT_TRUE(Run("INSERT INTO t SELECT * FROM u", true));
    EXPECT_EQ(s.odbc->executed.back(), "INSERT INTO t SELECT * FROM u");
    EXPECT_TRUE(Run(" \n select 1 as x", true));
    EXPECT_EQ(s.odbc->executed.back(), "SELECT 1 SELECT 1 as x ");
}
