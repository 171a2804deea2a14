// Scripts: where a statement ends (quotes, comments, dollar quotes, blocks of a CREATE),
// GO and GO n, EXIT and QUIT, backslash commands, the lines statements begin on,
// variables, Ctrl-C while typing, and the prompts.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "ScriptReader.h"
#include "TypedLines.h"

namespace {

using kvlsql::ScriptCommand;
using Statements = std::vector<std::pair<std::string, int32_t>>;  // text, times

// Every statement of the script, with how often it runs; "error: ..." for a ScriptError.
Statements Read(const std::string& script) {
    std::istringstream in(script);
    kvlsql::ScriptReader reader(in, "s.sql");
    Statements read;
    while (true) {
        try {
            std::optional<ScriptCommand> c = reader.Next();
            if (!c) return read;
            read.emplace_back(c->sql, c->times);
        } catch (const kvlsql::ScriptError& e) {
            read.emplace_back("error at " + std::to_string(e.line) + ": " + e.what(), 0);
        }
    }
}

// The texts alone, each to run once.
Statements Once(std::vector<std::string> texts) {
    Statements s;
    for (auto& t : texts) s.emplace_back(std::move(t), 1);
    return s;
}

struct Case {
    const char* script;
    Statements expected;
};

}  // namespace

TEST(StatementSplitter, ASemicolonEndsAStatementOnlyOutsideQuotesCommentsAndBodies) {
    const Case cases[] = {
        // No final ";" needed.
        {"SELECT 1; SELECT\n  2;\n\nSELECT 3", Once({"SELECT 1", "SELECT\n  2", "SELECT 3"})},
        {" ;; \n;\n-- header; not a statement\n/* nor; this */\n;", {}},  // blank ones
        {"SELECT 'a;b', 'it''s;', '\n;\n' ; SELECT 'x'",
         Once({"SELECT 'a;b', 'it''s;', '\n;\n'", "SELECT 'x'"})},
        {"SELECT \"a;\"\"b\" FROM t;", Once({"SELECT \"a;\"\"b\" FROM t"})},
        {"SELECT E'it\\'s;', 'c:\\'; SELECT 2", Once({"SELECT E'it\\'s;', 'c:\\'", "SELECT 2"})},
        {"SELECT 1 - -1 -- one; two\n, 2; -- after\nSELECT 3;",
         Once({"SELECT 1 - -1 -- one; two\n, 2", "SELECT 3"})},
        // Comments around a statement are not sent: the SQLite driver takes a ";" in them
        // for a second statement.
        {"/* lead; */ -- in\n  SELECT 1 /* trail; */ -- end\n;", Once({"SELECT 1"})},
        {"SELECT /* ; \n ; */ 1; /* trailing */", Once({"SELECT /* ; \n ; */ 1"})},
        {"CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql; SELECT f();",
         Once({"CREATE FUNCTION f() RETURNS int AS $$ SELECT 1; $$ LANGUAGE sql", "SELECT f()"})},
        {"DO $body$\nBEGIN\n  RAISE NOTICE '$$;';\nEND\n$body$;\nSELECT 1",
         Once({"DO $body$\nBEGIN\n  RAISE NOTICE '$$;';\nEND\n$body$", "SELECT 1"})},
        // Neither a parameter nor a word holding "$" opens a body.
        {"SELECT $1; SELECT a$b$ FROM t; SELECT 1",
         Once({"SELECT $1", "SELECT a$b$ FROM t", "SELECT 1"})},
        {"CREATE TRIGGER tr AFTER INSERT ON t BEGIN\n  INSERT INTO u VALUES (1);\n"
         "  UPDATE u SET a = CASE WHEN a > 1 THEN 0 END;\nEND;\nSELECT 1;",
         Once({"CREATE TRIGGER tr AFTER INSERT ON t BEGIN\n  INSERT INTO u VALUES (1);\n"
               "  UPDATE u SET a = CASE WHEN a > 1 THEN 0 END;\nEND",
               "SELECT 1"})},
        // Blocks count only inside a CREATE: a transaction's BEGIN is a statement.
        {"BEGIN; SELECT CASE WHEN 1 THEN 2 END; COMMIT;",
         Once({"BEGIN", "SELECT CASE WHEN 1 THEN 2 END", "COMMIT"})},
        {"\xEF\xBB\xBFSELECT 'São';\r\nSELECT 2\r\n", Once({"SELECT 'São'", "SELECT 2"})},
        // Unterminated text still runs at the end, for the driver to report.
        {"SELECT 'open;\n", Once({"SELECT 'open;"})},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.script), c.expected) << c.script;
}

TEST(ScriptReader, GoEndsAStatementAndRunsItNTimesAndExitOrQuitEndsTheScript) {
    const Case cases[] = {
        {"SELECT a\nFROM t\nGO\nselect 2\n  go \t\nSELECT 3\r\nGo\r\n",
         Once({"SELECT a\nFROM t", "select 2", "SELECT 3"})},
        {"INSERT INTO t VALUES (1)\nGO 3\n", {{"INSERT INTO t VALUES (1)", 3}}},
        // The ";" ran it once: GO n runs it n - 1 times more, and only the last one.
        {"SELECT 1;\nINSERT INTO t VALUES (1);\n-- again\nGO 3",
         {{"SELECT 1", 1}, {"INSERT INTO t VALUES (1)", 1}, {"INSERT INTO t VALUES (1)", 2}}},
        {"GO 4\n\nGO\nSELECT 1;\nGO\nGO 5\nGO 2", Once({"SELECT 1"})},
        {"SELECT 'GO'\nGO GO\nGOTO\nGO5\n", Once({"SELECT 'GO'\nGO GO\nGOTO\nGO5"})},
        {"SELECT '\nGO\n'\nGO", Once({"SELECT '\nGO\n'"})},  // text, not a line GO
        {"SELECT 1\nGO 0\nSELECT 2\nGO 99999999999\nSELECT 3",
         {{"error at 2: GO needs a count from 1 to 2147483647, not 0; the statement it "
           "ends was not run",
           0},
          {"error at 4: GO needs a count from 1 to 2147483647, not 99999999999; the "
           "statement it ends was not run",
           0},
          {"SELECT 3", 1}}},
        // The statement EXIT or QUIT interrupts still runs.
        {"SELECT 1\nGO\nSELECT 2\n QUIT\nSELECT 3\nGO\n", Once({"SELECT 1", "SELECT 2"})},
        {"SELECT 1; exit\n", Once({"SELECT 1", "exit"})},  // only alone on its line
        {"exit\nSELECT 1\n", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.script), c.expected) << c.script;
}

TEST(ScriptReader, ABackslashLineIsACommandOfItsOwn) {
    const Case cases[] = {
        {"\\d ruas\n  \\d  concelhos ; \n", Once({"\\d ruas", "\\d  concelhos ;"})},
        // A statement under way goes on after it.
        {"SELECT nome\n\\d ruas\nFROM ruas;\n", Once({"\\d ruas", "SELECT nome\nFROM ruas"})},
        {"SELECT '\n\\d ruas\n';\n", Once({"SELECT '\n\\d ruas\n'"})},  // text, no command
        {"SELECT 1 \\d ruas;\n", Once({"SELECT 1 \\d ruas"})},          // only at a line's start
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.script), c.expected) << c.script;
}

TEST(ScriptReader, PromptsNumberTheLinesOfEachStatement) {
    std::istringstream in("SELECT 1\nFROM t\nGO\nSELECT 2; SELECT\n3;\n-- note\nSELECT 'a\nb';\n");
    std::ostringstream prompt;
    kvlsql::ScriptReader reader(in, "standard input", &prompt);
    auto next = [&] {
        auto c = reader.Next();
        return c ? c->sql : "(end)";
    };
    EXPECT_EQ(next(), "SELECT 1\nFROM t");
    EXPECT_EQ(prompt.str(), "1> 2> 3> ");
    EXPECT_EQ(next(), "SELECT 2");
    EXPECT_EQ(next(), "SELECT\n3");
    EXPECT_EQ(next(), "SELECT 'a\nb'");
    EXPECT_EQ(next(), "(end)");
    EXPECT_FALSE(reader.Quit());
    // A statement left open continues the count; a comment alone does not.
    EXPECT_EQ(prompt.str(), "1> 2> 3> 1> 2> 1> 1> 2> 1> \n");
}

TEST(ScriptReader, EachCommandKnowsTheLineItBeginsOn) {
    std::istringstream in(
        "\n-- note\nSELECT 1;\n\nSELECT\n 2; SELECT 3\nGO 2\n\\d x\nINSERT INTO t VALUES (1);\nGO "
        "3\n"
        "/* a */ SELECT\n4");
    kvlsql::ScriptReader reader(in, "s.sql");
    std::vector<std::pair<std::string, int64_t>> read;
    while (auto c = reader.Next()) read.emplace_back(c->sql, c->line);
    EXPECT_EQ(read, (std::vector<std::pair<std::string, int64_t>>{{"SELECT 1", 3},
                                                                  {"SELECT\n 2", 5},
                                                                  {"SELECT 3", 6},
                                                                  {"\\d x", 8},
                                                                  {"INSERT INTO t VALUES (1)", 9},
                                                                  {"INSERT INTO t VALUES (1)", 9},
                                                                  {"SELECT\n4", 11}}));
}

TEST(StatementSplitter, VariablesStandForTheirValuesOutsideQuotesAndComments) {
    const std::map<std::string, std::string> variables = {
        {"t", "ruas"}, {"n", "O'Neil"}, {"col", "a\"b"}};
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT * FROM :t", "SELECT * FROM ruas"},
        {"SELECT :'n', :\"col\"", "SELECT 'O''Neil', \"a\"\"b\""},
        {"SELECT ':t', \":t\", $$:t$$", "SELECT ':t', \":t\", $$:t$$"},
        {"SELECT /* :t */ 1", "SELECT /* :t */ 1"},
        // A PostgreSQL cast, a slice, a name without a value and an unclosed quote stay.
        {"SELECT a::text, b[1:2], :other, :'t", "SELECT a::text, b[1:2], :other, :'t"},
        {"SELECT :t:t", "SELECT ruasruas"},
    };
    for (const auto& [script, expected] : cases) {
        kvlsession::StatementSplitter splitter;
        splitter.SetVariables([&](std::string_view name) -> std::optional<std::string> {
            auto found = variables.find(std::string(name));
            if (found == variables.end()) return std::nullopt;
            return found->second;
        });
        splitter.AddLine(script);
        EXPECT_EQ(splitter.TakePending(), expected) << script;
    }
}

TEST(ScriptReader, CtrlCWhileTypingDropsTheStatementUnderWay) {
    kvltest::TypedLines typed({"SELECT 1", "FROM t", std::nullopt, "SELECT 2;",
                               "INSERT INTO u VALUES (1);", std::nullopt, "GO 2"});
    kvlsql::ScriptReader reader(typed, "standard input");
    std::vector<std::pair<std::string, int32_t>> read;
    while (auto c = reader.Next()) read.emplace_back(c->sql, c->times);
    // GO after Ctrl-C has no statement left to run again.
    EXPECT_EQ(read, (std::vector<std::pair<std::string, int32_t>>{
                        {"SELECT 2", 1}, {"INSERT INTO u VALUES (1)", 1}}));
    EXPECT_EQ(typed.prompts,
              (std::vector<std::string>{"1> ", "2> ", "3> ", "1> ", "1> ", "1> ", "1> ", "1> "}));
}
