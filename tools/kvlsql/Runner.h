#pragma once
// Runs commands on an open session, prints what each gives and keeps count of the
// failures.

#include <memory>
#include <ostream>
#include <string>

namespace kvl {
class kvlSERV;
class kvlRES;
}  // namespace kvl

namespace kvlsql {

class ScriptReader;

class Runner {
  public:
    // predictRows: ask the library for each query's row count before its rows.
    // stopOnError: run nothing more once a command failed.
    Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
           bool predictRows, bool stopOnError = false);

    // Runs one command as given (a batch of statements where the driver takes several)
    // and prints its result sets. Returns false when it failed. The library's dialog has
    // already told the user about a failed execution. A command beginning with a
    // backslash is kvlsql's own: \d TABLE prints the fields of the table.
    bool Run(const std::string& sql);

    // Runs the statements of a script in turn, each as often as it asks, until its end
    // or, with stopOnError, the first failure.
    void Run(ScriptReader& script);

    // How many commands failed so far.
    int Failures() const { return failures_; }
    // Whether nothing more is to run.
    bool Stopped() const { return stopOnError_ && failures_ > 0; }

  private:
    bool Execute(const std::string& sql);
    bool Backslash(const std::string& command);
    bool Describe(const std::string& table);
    std::shared_ptr<kvl::kvlRES> ExecWithPrediction(const std::string& sql);

    std::shared_ptr<kvl::kvlSERV> server_;
    std::ostream& out_;
    std::ostream& err_;
    bool predictRows_;
    bool stopOnError_;
    int failures_ = 0;
};

}  // namespace kvlsql
