#pragma once
// Runs commands on an open session: SQL through the library, kvlsql's own backslash
// commands, and scripts; prints what each gives, tells failures and notices, and keeps
// count of the failures.

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "Messages.h"
#include "OutputTarget.h"
#include "SessionDialogs.h"
#include "Settings.h"
#include "kvl/Dialogs.h"

namespace kvl {
class kvlSERV;
class kvlRES;
}  // namespace kvl

namespace kvlsql {

class Interrupts;
class ScriptReader;

class Runner {
  public:
    // out: where results go (unless -o or \o says otherwise); err: failures, notices and
    // kvlsql's own messages. interrupts, when given, tell of Ctrl-C; asker asks the
    // questions put to the user (see SessionDialogs), which the runner answers for the
    // session from now on.
    Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
           RunSettings settings, Interrupts* interrupts = nullptr,
           std::shared_ptr<kvl::Dialogs> asker = kvl::TerminalDialogs());
    // Gives the session back the dialogs it had.
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Runs one command, at `where`: SQL as given, or kvlsql's own command when it begins
    // with a backslash. False when it failed; the failure is already told.
    bool Run(const std::string& sql, const Location& where);

    // Runs the statements of a script in turn, each as often as it asks, until its end or
    // Stopped(). At a terminal, a failure or Ctrl-C gives the prompt back.
    void Run(ScriptReader& script);

    // How many commands failed so far.
    int Failures() const { return failures_; }
    // Whether nothing more is to run: a failure with stopOnError, Abort, \q, or Ctrl-C
    // outside a terminal's prompt.
    bool Stopped() const { return stop_ || aborted_ || quit_; }

    // What the backslash commands work on.
    kvl::kvlSERV& Server() { return *server_; }
    RunSettings& Settings() { return settings_; }
    OutputTarget& Output() { return output_; }
    Messages& Tell() { return messages_; }
    std::ostream& Err() { return err_; }
    std::map<std::string, std::string>& Variables() { return variables_; }
    void Quit() { quit_ = true; }
    // Runs the script FILE (\i), its place told in messages as FILE:LINE.
    bool RunFile(const std::string& file);
    // Prints the result sets of r as the settings say; false when reading them failed.
    bool PrintResults(kvl::kvlRES& r);

  private:
    void Failed();
    bool Execute(const std::string& sql);
    bool ExecuteSql(const std::string& sql);
    void Predict(const std::string& sql);
    void TellNotices();

    std::shared_ptr<kvl::kvlSERV> server_;
    std::ostream& err_;
    RunSettings settings_;
    Interrupts* interrupts_;
    Messages messages_;
    std::shared_ptr<SessionDialogs> dialogs_;
    std::shared_ptr<kvl::Dialogs> sessionDialogs_;  // the session's own, given back at the end
    OutputTarget output_;
    std::map<std::string, std::string> variables_;
    int failures_ = 0;
    int depth_ = 0;         // scripts run by \i within one another
    bool stop_ = false;     // a failure with stopOnError, or Ctrl-C: back to the prompt
    bool aborted_ = false;  // Abort: the session ends
    bool quit_ = false;     // \q, or EXIT in a script: the session ends
};

}  // namespace kvlsql
