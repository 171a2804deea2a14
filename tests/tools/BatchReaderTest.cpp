// Batches of standard input: GO lines, the end of input, EXIT and QUIT, prompts.

#include <gtest/gtest.h>

#include <sstream>

#include "BatchReader.h"

using kvlsql::BatchReader;

namespace {

std::vector<std::string> Batches(const std::string& input) {
    std::istringstream in(input);
    BatchReader reader(in);
    std::vector<std::string> batches;
    while (auto b = reader.Next()) batches.push_back(*b);
    return batches;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(BatchReader, GoLinesInAnyCaseAndWithBlanksEndBatches) {
    EXPECT_EQ(Batches("SELECT a\nFROM t\nGO\nselect 2\n  go \t\nSELECT 3\r\nGo\r\n"),
              (Texts{"SELECT a\nFROM t", "select 2", "SELECT 3"}));
    // GO only counts alone on its line.
    EXPECT_EQ(Batches("SELECT 'GO'\nGO GO\nGOTO\n"), (Texts{"SELECT 'GO'\nGO GO\nGOTO"}));
}

TEST(BatchReader, TheEndOfInputEndsTheLastBatchAndBlankBatchesAreSkipped) {
    EXPECT_EQ(Batches("SELECT 1"), (Texts{"SELECT 1"}));
    EXPECT_EQ(Batches("GO\n   \nGO\n\n"), Texts{});
    EXPECT_EQ(Batches(""), Texts{});
    EXPECT_EQ(Batches("\n  SELECT 1\n\nGO"), (Texts{"\n  SELECT 1\n"}));
}

TEST(BatchReader, ExitOrQuitEndsTheInputAfterThePendingBatch) {
    EXPECT_EQ(Batches("SELECT 1\nGO\nSELECT 2\n QUIT\nSELECT 3\nGO\n"),
              (Texts{"SELECT 1", "SELECT 2"}));
    EXPECT_EQ(Batches("exit\nSELECT 1\n"), Texts{});
}

TEST(BatchReader, PromptsNumberTheLinesOfEachBatch) {
    std::istringstream in("SELECT 1\nFROM t\nGO\nSELECT 2\n");
    std::ostringstream prompt;
    BatchReader reader(in, &prompt);
    EXPECT_EQ(reader.Next(), "SELECT 1\nFROM t");
    EXPECT_EQ(prompt.str(), "1> 2> 3> ");
    EXPECT_EQ(reader.Next(), "SELECT 2");
    EXPECT_FALSE(reader.Next());
    EXPECT_EQ(prompt.str(), "1> 2> 3> 1> 2> \n");  // a line break after the end, as after Ctrl-D
}
