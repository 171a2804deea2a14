#pragma once
// Opening the session the command line names.

#include <memory>
#include <ostream>

#include "Options.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

// Opens the session; without connection options, the embedded default database
// (created first when missing). On failure writes the reason to err and gives nothing.
std::shared_ptr<kvl::kvlSERV> OpenSession(const Options& o, std::ostream& err);

}  // namespace kvlsql
