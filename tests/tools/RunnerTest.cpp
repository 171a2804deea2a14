// Running one command through a scripted driver: what is printed for each result set,
// the row-count prediction, and a failure.

#include <gtest/gtest.h>

#include <sstream>

#include "Runner.h"
#include "ScriptedOdbc.h"
#include "kvl/kvlSERV.h"

using kvltest::ScriptedOdbc;

namespace {

constexpr int16_t kInteger = 4;   // SQL_INTEGER
constexpr int16_t kVarchar = 12;  // SQL_VARCHAR

class RecordingDialogs : public kvl::Dialogs {
  public:
    int32_t Pergunta(std::string_view, std::string_view text, int32_t) override {
        texts.emplace_back(text);
        return kvl::kIgnore;
    }
    std::vector<std::string> texts;
};

ScriptedOdbc::Result Set(std::vector<kvl::odbc::ColumnDescription> columns,
                         std::vector<ScriptedOdbc::Row> rows, int64_t rowCount = -1) {
    ScriptedOdbc::Result r;
    r.columns = std::move(columns);
    r.rows = std::move(rows);
    r.rowCount = rowCount;
    return r;
}

ScriptedOdbc::Result Streets() {
    return Set({{"id", kInteger, 10}, {"nome", kVarchar, 80}, {"codigo_postal", kVarchar, 8}},
               {{"1", "Rua Augusta", "1100-053"}, {"10", "Praça da Ribeira", std::nullopt}});
}

struct RunnerTest : ::testing::Test {
    std::shared_ptr<ScriptedOdbc> odbc = std::make_shared<ScriptedOdbc>();
    std::shared_ptr<RecordingDialogs> dialogs = std::make_shared<RecordingDialogs>();
    std::shared_ptr<kvl::kvlSERV> server = kvl::kvlSERV::Create(odbc);
    std::ostringstream out, err;

    void SetUp() override {
        server->Dialogos = dialogs;
        server->Abre(std::string("teste"));
        ASSERT_TRUE(server->Aberto);
    }
    bool Run(const std::string& sql, bool predict = false) {
        return kvlsql::Runner(server, out, err, predict).Run(sql);
    }
};

}  // namespace

TEST_F(RunnerTest, PrintsEveryResultSetOfABatchInTurn) {
    odbc->ScriptExecution({Streets(), Set({}, {}, 3), Set({{"n", kInteger, 10}}, {})});
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
    EXPECT_TRUE(dialogs->texts.empty());
    EXPECT_EQ(err.str(), "");
    // The slot went back to the session.
    bool busy = true;
    server->StackItemGet(1, busy);
    EXPECT_FALSE(busy);
}

TEST_F(RunnerTest, PredictionComesFromTheCountBatchBeforeTheRows) {
    odbc->ScriptExecution({Set({{"count", kInteger, 10}}, {{"2"}}), Streets()});
    EXPECT_TRUE(Run("SELECT * FROM ruas", true));
    EXPECT_EQ(odbc->executed.back(), "SELECT count(*) FROM ruas SELECT * FROM ruas ");
    std::string printed = out.str();
    EXPECT_EQ(printed.rfind("(2 rows predicted)\n id | nome", 0), 0u) << printed;
    EXPECT_NE(printed.find("Praça da Ribeira"), std::string::npos);
    EXPECT_EQ(printed.find("count"), std::string::npos);  // the count's own set is not shown
}

TEST_F(RunnerTest, OnlyQueriesAreRewrittenForThePrediction) {
    // The rewriting keeps only SELECT statements: anything else must run as typed.
    EXPECT_TRUE(Run("INSERT INTO t SELECT * FROM u", true));
    EXPECT_TRUE(Run("SELEKT", true));
    EXPECT_EQ(odbc->executed,
              (std::vector<std::string>{"INSERT INTO t SELECT * FROM u", "SELEKT"}));
    EXPECT_EQ(out.str().find("predicted"), std::string::npos);
    EXPECT_TRUE(Run(" \n select 1 as x", true));
    EXPECT_EQ(odbc->executed.back(), "SELECT 1 SELECT 1 as x ");
}

TEST_F(RunnerTest, AFailureGoesThroughTheDialogAndPrintsNothing) {
    odbc->Script("ExecDirect",
                 {{kvl::odbc::kError, kvl::odbc::Diagnostic{"42000", 1, "syntax error"}}});
    EXPECT_FALSE(Run("SELEKT"));
    ASSERT_EQ(dialogs->texts.size(), 1u);
    EXPECT_NE(dialogs->texts[0].find("syntax error"), std::string::npos);
    EXPECT_NE(dialogs->texts[0].find("SELEKT"), std::string::npos);
    EXPECT_EQ(out.str(), "");
    // The next command runs on the same session as usual.
    odbc->ScriptExecution({Streets()});
    EXPECT_TRUE(Run("SELECT * FROM ruas"));
}

TEST_F(RunnerTest, BlankCommandsRunNothing) {
    EXPECT_TRUE(Run("   "));
    EXPECT_TRUE(odbc->executed.empty());
    EXPECT_EQ(out.str(), "");
}
