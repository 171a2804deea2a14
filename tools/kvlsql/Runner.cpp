#include "Runner.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <utility>

#include "Interrupts.h"
#include "MessagesOff.h"
#include "MetaCommands.h"
#include "ResultPrinter.h"
#include "RowCount.h"
#include "ScriptReader.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

// Scripts run by \i within one another, at most: a script that runs itself stops here.
constexpr int kMaxDepth = 16;

}  // namespace

Runner::Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
               RunSettings settings, Interrupts* interrupts, std::shared_ptr<kvl::Dialogs> asker)
    : server_(std::move(server)),
      err_(err),
      settings_(std::move(settings)),
      interrupts_(interrupts),
      messages_(err),
      dialogs_(std::make_shared<SessionDialogs>(messages_, settings_.ask, std::move(asker))),
      output_(out) {
    dialogs_->Watch(*server_);
    sessionDialogs_ = std::exchange(server_->Dialogos, dialogs_);
}

Runner::~Runner() {
    server_->Dialogos = sessionDialogs_;
}

bool Runner::Run(const std::string& sql, const Location& where) {
    messages_.At(where);
    bool ok = Execute(sql);
    aborted_ = dialogs_->TakeAbort() || aborted_;
    if (interrupts_ && interrupts_->Take()) stop_ = true;
    if (!ok) Failed();
    return ok;
}

void Runner::Failed() {
    ++failures_;
    if (settings_.stopOnError) stop_ = true;
}

void Runner::Run(ScriptReader& script) {
    script.SetVariables([this](std::string_view name) -> std::optional<std::string> {
        auto found = variables_.find(std::string(name));
        if (found == variables_.end()) return std::nullopt;
        return found->second;
    });
    while (true) {
        // At a terminal the prompt comes back after a failure or Ctrl-C.
        if (script.Interactive()) stop_ = false;
        if (Stopped()) return;
        std::optional<ScriptCommand> command;
        try {
            command = script.Next();
        } catch (const ScriptError& e) {
            messages_.At({script.Name(), e.line});
            messages_.Error(e.what());
            Failed();
            continue;
        }
        if (!command) break;
        for (int32_t i = 0; i < command->times && !Stopped(); ++i)
            Run(command->sql, {script.Name(), command->line});
    }
    if (script.Quit()) quit_ = true;
}

bool Runner::RunFile(const std::string& file) {
    if (depth_ >= kMaxDepth) {
        messages_.Error("\\i " + file + ": scripts run within one another more than " +
                        std::to_string(kMaxDepth) + " deep");
        return false;
    }
    std::ifstream in(file);
    if (!in) {
        messages_.Error("\\i: cannot open the script " + file + ": " + std::strerror(errno));
        return false;
    }
    Location caller = messages_.Where();
    ScriptReader script(in, file);
    ++depth_;
    Run(script);
    --depth_;
    messages_.At(caller);
    return true;  // its own failures are counted one by one
}

bool Runner::PrintResults(kvl::kvlRES& r) {
    ResultPrinter printer(output_.Stream(), err_, messages_, settings_.output,
                          [this] { return interrupts_ && interrupts_->Pending(); });
    return printer.Print(r);
}

bool Runner::Execute(const std::string& sql) {
    try {
        if (sql.starts_with('\\')) return RunMetaCommand(*this, sql);
        return ExecuteSql(sql);
    } catch (const kvl::Error& e) {
        messages_.Error("error " + std::to_string(e.number()) + ": " + e.description());
        return false;
    }
}

bool Runner::ExecuteSql(const std::string& sql) {
    auto start = std::chrono::steady_clock::now();
    if (settings_.predictRows) Predict(sql);
    std::shared_ptr<kvl::kvlRES> r = server_->Exec(sql);
    if (!r) return true;  // nothing but blanks: nothing ran
    TellNotices();
    bool ok = !r->erro && PrintResults(*r);
    r->Liberta();
    if (settings_.timing) {
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::ostringstream line;
        line << "Time: " << std::fixed << std::setprecision(3) << took.count() << " ms\n";
        output_.Stream() << line.str();
    }
    return ok;
}

void Runner::TellNotices() {
    if (!server_->erro && server_->ErroN == kvl::odbc::kSuccessWithInfo && !server_->ErroD.empty())
        messages_.Notices(server_->ErroEstado(), server_->ErroD);
}

// The count is kvlsql's own command, not the user's: a count the database refuses is told
// as a notice, and the query runs all the same.
void Runner::Predict(const std::string& sql) {
    std::optional<std::string> count = CountStatement(sql);
    if (!count) return;
    std::shared_ptr<kvl::kvlRES> r;
    {
        kvlsession::MessagesOff quiet(*server_);
        r = server_->Exec(*count);
    }
    if (!r->erro && r->TemLinhas()) {
        output_.Stream() << "(" << Rows(r->Col(1).ToInt32()) << " predicted)\n";
    } else {
        messages_.Notices(
            "", "--count: the rows could not be counted: " + DriverMessage(server_->ErroD));
    }
    r->Liberta();
}

}  // namespace kvlsql
