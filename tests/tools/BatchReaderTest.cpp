// Batches of standard input: GO lines, the end of input, EXIT and QUIT, prompts.

#include <gtest/gtest.h>

#include <sstream>

#include "BatchReader.h"

namespace {

using Texts = std::vector<std::string>;

Texts Batches(const std::string& input) {
    std::istringstream in(input);
    kvlsql::BatchReader reader(in);
    Texts batches;
    while (auto b = reader.Next()) batches.push_back(*b);
    return batches;
}

}  // namespace

TEST(BatchReader, GoAloneOnALineEndsABatchAndExitOrQuitEndsTheInput) {
    EXPECT_EQ(Batches("SELECT a\nFROM t\nGO\nselect 2\n  go \t\nSELECT 3\r\nGo\r\n"),
              (Texts{"SELECT a\nFROM t", "select 2", "SELECT 3"}));
    EXPECT_EQ(Batches("SELECT 'GO'\nGO GO\nGOTO\n"), (Texts{"SELECT 'GO'\nGO GO\nGOTO"}));
    EXPECT_EQ(Batches("GO\n   \nGO\n\n"), Texts{});
    EXPECT_EQ(Batches("\n  SELECT 1\n\nGO"), (Texts{"\n  SELECT 1\n"}));
    // The pending batch still runs.
    EXPECT_EQ(Batches("SELECT 1\nGO\nSELECT 2\n QUIT\nSELECT 3\nGO\n"),
              (Texts{"SELECT 1", "SELECT 2"}));
    EXPECT_EQ(Batches("exit\nSELECT 1\n"), Texts{});
}

TEST(BatchReader, PromptsNumberTheLinesOfEachBatch) {
    std::istringstream in("SELECT 1\nFROM t\nGO\nSELECT 2\n");
    std::ostringstream prompt;
    kvlsql::BatchReader reader(in, &prompt);
    EXPECT_EQ(reader.Next(), "SELECT 1\nFROM t");
    EXPECT_EQ(prompt.str(), "1> 2> 3> ");
    EXPECT_EQ(reader.Next(), "SELECT 2");
    EXPECT_FALSE(reader.Next());
    EXPECT_EQ(prompt.str(), "1> 2> 3> 1> 2> \n");  // a line break after the end, as after Ctrl-D
}
