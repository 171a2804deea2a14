#include "Runner.h"

#include "ResultPrinter.h"
#include "kvl/Error.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace kvlsql {

Runner::Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
               bool predictRows)
    : server_(std::move(server)), out_(out), err_(err), predictRows_(predictRows) {}

bool Runner::Run(const std::string& sql) {
    try {
        std::string command = sql;
        int32_t predicted = 0;
        std::shared_ptr<kvl::kvlRES> r =
            server_->Exec(&command, nullptr, predictRows_ ? &predicted : nullptr);
        if (!r) return true;  // nothing but blanks: nothing ran
        if (r->erro) return false;
        if (predictRows_) out_ << "(" << predicted << " rows predicted)\n";
        PrintResults(out_, *r);
        r->Liberta();
        return true;
    } catch (const kvl::Error& e) {
        err_ << "kvlsql: error " << e.number() << ": " << e.description() << '\n';
        return false;
    }
}

}  // namespace kvlsql
