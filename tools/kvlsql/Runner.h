#pragma once
// Runs commands on an open session and prints what each gives.

#include <memory>
#include <ostream>
#include <string>

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

class Runner {
  public:
    // predictRows: ask the library for each query's row count before its rows.
    Runner(std::shared_ptr<kvl::kvlSERV> server, std::ostream& out, std::ostream& err,
           bool predictRows);

    // Runs one command (a batch of statements where the driver takes several) and
    // prints its result sets. Returns false when it failed. The library's dialog has
    // already told the user about a failed execution.
    bool Run(const std::string& sql);

  private:
    std::shared_ptr<kvl::kvlSERV> server_;
    std::ostream& out_;
    std::ostream& err_;
    bool predictRows_;
};

}  // namespace kvlsql
