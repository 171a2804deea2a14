#pragma once
// The connection options of the programs that open a session: which database, and how many
// statement slots the open connects.

#include <cstdint>
#include <optional>
#include <string>

#include "Arguments.h"

namespace kvlsession {

struct ConnectionOptions {
    // Connection properties; all empty means the embedded default database.
    std::optional<std::string> dsn, driver, server, db, uid, pwd;
    std::optional<std::string> connect;  // a whole connection text, used as given
    std::optional<int16_t> stack;        // base slots of the statement stack

    bool UsesDefaultDatabase() const;
};

// Takes the current argument with its value when it is a connection option (--dsn,
// --driver, --server, --db, --uid, --pwd, --connect, --stack); false for any other.
// Throws UsageError for a missing value or a stack size out of range.
bool ParseConnectionOption(Arguments& a, ConnectionOptions& o);

}  // namespace kvlsession
