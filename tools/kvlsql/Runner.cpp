#include "Runner.h"

#include <cctype>

#include "ResultPrinter.h"
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

}  // namespace

Runner::Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
               bool predictRows)
    : server_(std::move(server)), out_(out), err_(err), predictRows_(predictRows) {}

bool Runner::Run(const std::string& sql) {
    try {
        std::string command = sql;
        int32_t predicted = 0;
        bool predict = predictRows_ && IsQuery(sql);
        std::shared_ptr<kvl::kvlRES> r =
            server_->Exec(&command, nullptr, predict ? &predicted : nullptr);
        if (!r) return true;  // nothing but blanks: nothing ran
        if (r->erro) return false;
        if (predict) out_ << "(" << predicted << " rows predicted)\n";
        PrintResults(out_, *r);
        r->Liberta();
        return true;
    } catch (const kvl::Error& e) {
        err_ << "kvlsql: error " << e.number() << ": " << e.description() << '\n';
        return false;
    }
}

}  // namespace kvlsql
