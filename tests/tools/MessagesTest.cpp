// How failures and notices are told, and kvlsql's answers to the library's questions.

#include <gtest/gtest.h>

#include <sstream>

#include "Messages.h"
#include "Scripted.h"
#include "SessionDialogs.h"

using kvlsql::DriverMessage;

TEST(Messages, DriverMessagesLoseWhatOnlyRepeatsTheCircumstances) {
    EXPECT_EQ(DriverMessage("[SQLite]near \"x\": syntax error (1)"),
              "near \"x\": syntax error (1)");
    EXPECT_EQ(DriverMessage("ERROR: division by zero;\nError while executing the query"),
              "division by zero");
    EXPECT_EQ(DriverMessage("[unixODBC][Driver Manager]Data source name not found\n"),
              "Data source name not found");
    EXPECT_EQ(DriverMessage("a [b] c"), "a [b] c");
}

TEST(Messages, EachLineNamesItsPlace) {
    std::ostringstream err;
    kvlsql::Messages messages(err);
    messages.At({"s.sql", 12});
    messages.DriverError("42601",
                         "ERROR: syntax error at or near \"x\";\nError while executing the query");
    messages.Error("unknown command \\y");
    // psqlODBC gives every notice of a command in one message.
    messages.Notices("01000", "NOTICE: a;b;NOTICE: c;WARNING: d");
    messages.At({"-c", 1});
    messages.Notices("01000", "[Driver]truncated");
    messages.Notices("00000", "context changed");
    EXPECT_EQ(err.str(),
              "s.sql:12: ERROR 42601: syntax error at or near \"x\"\n"
              "s.sql:12: ERROR: unknown command \\y\n"
              "s.sql:12: NOTICE: a;b\n"
              "s.sql:12: NOTICE: c\n"
              "s.sql:12: WARNING: d\n"
              "-c:1: WARNING: truncated\n"
              "-c:1: NOTICE: context changed\n");
}

TEST(SessionDialogs, AFailureIsToldAndIgnoredUnlessTheUserIsAsked) {
    kvltest::ScriptedSession s;
    s.Fail(1, "42000", "falhou");
    auto asker = std::make_shared<kvltest::ScriptedDialogs>();
    std::ostringstream err;
    kvlsql::Messages messages(err);
    messages.At({"s.sql", 3});
    auto dialogs = std::make_shared<kvlsql::SessionDialogs>(messages, false, asker);
    dialogs->Watch(*s.server);
    s.server->Dialogos = dialogs;
    s.server->Exec("SELEKT");
    EXPECT_EQ(err.str(), "s.sql:3: ERROR 42000: falhou\n");
    EXPECT_TRUE(asker->asked.empty());
    EXPECT_EQ(s.odbc->Count("ExecDirect"), 1u);  // Ignore: never run again

    // Asked, Retry runs the command again and Abort is kept for the runner.
    dialogs = std::make_shared<kvlsql::SessionDialogs>(messages, true, asker);
    dialogs->Watch(*s.server);
    s.server->Dialogos = dialogs;
    asker->answers = {kvl::kRetry, kvl::kAbort};
    s.Fail(1);
    s.Fail(1);
    s.server->Exec("SELEKT");
    EXPECT_EQ(s.odbc->Count("ExecDirect"), 3u);
    EXPECT_EQ(asker->asked.size(), 2u);
    EXPECT_TRUE(dialogs->TakeAbort());
    EXPECT_FALSE(dialogs->TakeAbort());

    // Any other question is the asker's: a lost link is offered again.
    asker->answers = {kvl::kNo};
    EXPECT_EQ(dialogs->Pergunta("Link Failure!", "?", kvl::kYesNo), kvl::kNo);
    EXPECT_EQ(asker->asked.back().title, "Link Failure!");
}
