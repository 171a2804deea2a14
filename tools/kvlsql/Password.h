#pragma once
// The password of a login: from -W (asked before connecting), KVLSQL_PASSWORD, or asked
// once at a terminal when the server refuses the login for want of one, never shown.

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "ConnectionOptions.h"

namespace kvl {
class kvlSERV;
}

namespace kvlsql {

// Asks for a password on the terminal (/dev/tty) without showing what is typed; without a
// terminal, unless terminalOnly, reads a line of standard input. Nothing when neither
// gives one.
std::optional<std::string> AskPassword(const std::string& prompt, bool terminalOnly);

// Gives the login this password: in --connect's text as PWD, else as the password option.
void UsePassword(kvlsession::ConnectionOptions& o, const std::string& password);

// Opens the session the options name (see kvlsession::OpenSession), with the password
// from -W (askFirst) or KVLSQL_PASSWORD when the options give none; a login refused for
// want of a password is asked for one once, at a terminal, and tried again. prepare sets
// what the session needs before each attempt.
std::shared_ptr<kvl::kvlSERV> Login(kvlsession::ConnectionOptions o, bool askFirst,
                                    std::ostream& err,
                                    const std::function<void(kvl::kvlSERV&)>& prepare = {});

}  // namespace kvlsql
