// Message boxes without a window: flags, the answers of unattended and scripted runs, printed
// messages, and the answers of the automation wire.

#include <gmock/gmock.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "kvl/Error.h"
#include "winhost/CommandLine.h"
#include "winhost/Console.h"
#include "winhost/Errors.h"
#include "winhost/MessageBoxes.h"
#include "winhost/RunLog.h"
#include "winhost/ScriptedAnswers.h"
#include "winhost/Wire.h"

namespace winhost {
namespace {

TEST(MessageStyleTest, FlagsGiveButtonsIconDefaultAndTheAnswerGivenWithoutAUser) {
    // The unattended answer confirms but never retries.
    using Style = std::tuple<std::vector<Button>, Icon, size_t, Button>;
    const std::pair<int, Style> cases[] = {
        {kOkCancel + kInformation + kDefaultButton2, {{kOk, kCancel}, Icon::Information, 1, kOk}},
        {kRetryCancel + kExclamation, {{kRetry, kCancel}, Icon::Warning, 0, kCancel}},
        {kAbortRetryIgnore + kCritical + kDefaultButton2,
         {{kAbort, kRetry, kIgnore}, Icon::Error, 1, kAbort}},
        {kYesNo + kQuestion + kDefaultButton3, {{kYes, kNo}, Icon::Question, 0, kYes}},
        {kYesNoCancel + kDefaultButton3, {{kYes, kNo, kCancel}, Icon::None, 2, kYes}},
    };
    for (const auto& [flags, expected] : cases) {
        const MessageStyle s = DecodeMessageFlags(flags);
        EXPECT_EQ(Style(s.buttons, s.icon, s.defaultButton, UnattendedAnswer(s)), expected)
            << flags;
    }
}

TEST(ScriptedAnswersTest, ListedButtonsAnswerInTurnThenTheUnattendedAnswerFromAVariable) {
    ScriptedAnswers scripted = ScriptedAnswers::Parse(" Retry,,OK , cancel,yes");
    std::vector<Button> answers;
    for (int box : {kRetryCancel, kOkCancel, kOkCancel, kRetryCancel, kOkCancel})
        answers.push_back(scripted.Next(DecodeMessageFlags(box)));
    // The fourth, OK, is not offered by its box: the answer an unattended run gives, never a
    // retry; the fifth is past the list.
    EXPECT_EQ(answers, (std::vector<Button>{kRetry, kOk, kCancel, kCancel, kOk}));

    EXPECT_EQ(ScriptedAnswers::VariableFor("zovlt-config"), "ZOVLT_CONFIG_ANSWERS");
    unsetenv("WINHOST_TEST_ANSWERS");
    EXPECT_FALSE(ScriptedAnswers::FromEnvironment("winhost-test"));
    setenv("WINHOST_TEST_ANSWERS", "", 1);
    EXPECT_TRUE(ScriptedAnswers::FromEnvironment("winhost-test"));
    setenv("WINHOST_TEST_ANSWERS", "ok,1", 1);
    // A button number is no button name.
    EXPECT_THAT([] { ScriptedAnswers::FromEnvironment("winhost-test"); },
                ::testing::ThrowsMessage<UsageError>(
                    ::testing::StrEq("WINHOST_TEST_ANSWERS: no button is named 1")));
    unsetenv("WINHOST_TEST_ANSWERS");
}

TEST(ConsoleTest, EachMessageIsOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"Aviso: \r\nA versão\r\n\r\nGeodados", "Aviso: A versão Geodados"},
        {"\r\na\nb\rc\r\n", "a b c"},
        {" Sem quebras ", " Sem quebras "},
    };
    for (const auto& [text, line] : cases) EXPECT_EQ(OneLine(text), line) << text;
}

TEST(ErrorsTest, TheLibrarysEnglishDescriptionsArePortugueseAndOthersStayAsGiven) {
    EXPECT_EQ(Description(kvl::Error(kvl::kFileNotFound)), "Ficheiro não encontrado");
    EXPECT_EQ(Description(kvl::Error(kvl::kPathNotFound, "Caminho não encontrado: C:\\x")),
              "Caminho não encontrado: C:\\x");
    EXPECT_EQ(Description(kvl::Error(-2147024809, "The parameter is incorrect")),
              "The parameter is incorrect");
}

TEST(RunLogTest, StepsMessagesAndAnswersAreAddedToTheLogOneLineEach) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("runlog-" + std::to_string(getpid()) + ".log");
    std::ofstream(file) << "an earlier run\n";
    RunLog::Write("not yet open");
    RunLog::Open(file);
    RunLog::Write("Criar pastas de instalação");
    PrintedMessageBoxes boxes;
    boxes.Show("Ocorreu um erro!\r\n(53) Ficheiro não encontrado", kRetryCancel);
    std::ifstream in(file);
    std::vector<std::string> lines;
    // The lines this run adds begin with the date and the time.
    for (std::string line; std::getline(in, line);)
        lines.push_back(lines.empty() ? line : line.substr(20));
    std::filesystem::remove(file);
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "an earlier run", "Criar pastas de instalação",
                  "Mensagem: Ocorreu um erro! (53) Ficheiro não encontrado | Resposta: Cancelar"}));
    EXPECT_THROW(RunLog::Open("/nonexistent/folder/x.log"), UsageError);
}

// Values cross the wire in the stand-in's tests, through the installer's automation client.
TEST(WireTest, ErrorAnswersThrowTheFailureTheyCarryAndMalformedOnesAnAutomationError) {
    using ::testing::Property;
    using ::testing::Throws;
    EXPECT_THAT(
        [] { wire::ValueOf(wire::Answer(kvl::Error(-2147024809, "The parameter is incorrect"))); },
        Throws<kvl::Error>(
            AllOf(Property(&kvl::Error::number, -2147024809),
                  Property(&kvl::Error::description, "The parameter is incorrect"))));
    for (const char* line : {"okay", "error\tx\ty", "ok\ta\tb"})
        EXPECT_THAT([&] { wire::ValueOf(line); },
                    Throws<kvl::Error>(Property(&kvl::Error::number, 440)))
            << line;
}

}  // namespace
}  // namespace winhost
