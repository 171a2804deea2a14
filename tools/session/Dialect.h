#pragma once
// Which of the two databases the project runs on a session is on, for the few statements they
// write differently: a key the database gives to new rows, and how that key is read back.

#include <string>

namespace kvl {
class kvlSERV;
}

namespace kvlsession {

enum class Dialect { SQLite, PostgreSQL };

// Asked of the server with the session's messages off, as the question fails on one of the
// two; std::runtime_error for a database that is neither.
Dialect DialectOf(kvl::kvlSERV& s);

// The first value of the query's first row; "" when it fails or gives no row.
std::string FirstValue(kvl::kvlSERV& s, const std::string& sql);

}  // namespace kvlsession
