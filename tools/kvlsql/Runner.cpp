#include "Runner.h"

#include <cctype>
#include <sstream>
#include <utility>

#include "FieldTable.h"
#include "ResultPrinter.h"
#include "ScriptReader.h"
#include "TableFormat.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

namespace {

// The prediction rewrites the command into count statements and the SELECTs it holds,
// dropping whatever comes before the first SELECT: only a query is safe to rewrite.
bool IsQuery(const std::string& sql) {
    size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return false;
    std::string word = sql.substr(start, 6);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word == "select";
}

// Keeps the library's error dialog shut while it lives.
class QuietErrors {
  public:
    explicit QuietErrors(kvl::kvlSERV& s) : s_(s), was_(std::exchange(s.ComMsg, false)) {}
    ~QuietErrors() { s_.ComMsg = was_; }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    kvl::kvlSERV& s_;
    bool was_;
};

}  // namespace

Runner::Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
               bool predictRows, bool stopOnError)
    : server_(std::move(server)),
      out_(out),
      err_(err),
      predictRows_(predictRows),
      stopOnError_(stopOnError) {}

bool Runner::Run(const std::string& sql) {
    bool ok = Execute(sql);
    if (!ok) ++failures_;
    return ok;
}

void Runner::Run(ScriptReader& script) {
    while (!Stopped()) {
        std::optional<ScriptCommand> command;
        try {
            command = script.Next();
        } catch (const ScriptError& e) {
            err_ << "kvlsql: " << e.what() << '\n';
            ++failures_;
            continue;
        }
        if (!command) return;
        for (int32_t i = 0; i < command->times && !Stopped(); ++i) Run(command->sql);
    }
}

bool Runner::Execute(const std::string& sql) {
    try {
        if (sql.starts_with('\\')) return Backslash(sql);
        std::shared_ptr<kvl::kvlRES> r;
        if (predictRows_ && IsQuery(sql)) r = ExecWithPrediction(sql);
        if (!r) r = server_->Exec(sql);
        if (!r) return true;  // nothing but blanks: nothing ran
        bool ok = !r->erro && PrintResults(out_, err_, *r);
        r->Liberta();
        return ok;
    } catch (const kvl::Error& e) {
        err_ << "kvlsql: error " << e.number() << ": " << e.description() << '\n';
        return false;
    }
}

bool Runner::Backslash(const std::string& command) {
    std::istringstream words(command);
    std::string name, table, extra;
    words >> name >> table;
    while (table.ends_with(';')) table.pop_back();
    if (name != "\\d" || table.empty() || words >> extra) {
        err_ << "kvlsql: unknown command " << command
             << " (\\d TABLE describes the fields of a table)\n";
        return false;
    }
    return Describe(table);
}

// The fields as the library's field-property cache holds them, the catalog read on the
// first use of the table in the session.
bool Runner::Describe(const std::string& table) {
    kvl::Variant fields;
    {
        QuietErrors quiet(*server_);
        server_->erro = false;
        fields = server_->CamposPropsInfo(table);
    }
    int32_t n = fields.array().UBound(2);
    if (n > 0) {
        PrintTable(out_, FieldTable(fields));
        out_ << "(" << (n == 1 ? "1 field" : std::to_string(n) + " fields") << ")\n\n";
        return true;
    }
    if (server_->erro) {
        err_ << "kvlsql: \\d " << table << ": the catalog query failed: " << server_->ErroD
             << "\nkvlsql: \\d reads the catalog views syscolumns and sysobjects; the scripts "
                "in the project's sql folder give a database them\n";
    } else {
        err_ << "kvlsql: \\d: the catalog has no table or view named " << table << '\n';
    }
    return false;
}

// The count batch is the library's text, not the user's: when the driver rejects it, that
// is said plainly here instead of in the error dialog, and the query runs as given.
std::shared_ptr<kvl::kvlRES> Runner::ExecWithPrediction(const std::string& sql) {
    std::string batch = sql;
    int32_t predicted = 0;
    std::shared_ptr<kvl::kvlRES> r;
    {
        QuietErrors quiet(*server_);
        r = server_->Exec(&batch, nullptr, &predicted);
    }
    if (!r->erro) {
        out_ << "(" << Rows(predicted) << " predicted)\n";
        return r;
    }
    r->Liberta();
    err_ << "kvlsql: --count: the driver rejected the library's row-count batch (count "
            "statements and queries separated by blanks); the query runs without a "
            "prediction\n";
    return nullptr;
}

}  // namespace kvlsql
