#pragma once
// The command line of kvl-moradas and the session it opens: the connection options kvlsql
// takes too (none: the embedded sample database), and --user for the embedded database,
// which has no logins of its own.

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ConnectionOptions.h"
#include "kvl/Dialogs.h"

namespace kvl {
class kvlSERV;
}

namespace moradas {

// The program's name, which its messages begin with.
inline constexpr const char* kProgram = "kvl-moradas";

// The client's tables and its name among the applications that share them.
inline constexpr const char* kPermissionTable = "kvlPERM";
inline constexpr const char* kPositionTable = "kvlPOS";
inline constexpr const char* kApplication = "kvl-moradas";

struct ClientOptions {
    kvlsession::ConnectionOptions connection;
    std::optional<std::string> user;  // whose rights and window positions apply
    bool createSample = false;        // make the sample tables in a server's database first
    bool log = false;                 // keep the session's SQL log
    bool help = false;
};

// Throws kvlsession::UsageError for what the client does not take (commands, scripts), for
// --user with connection options (a server's login is --uid) and for --create-sample
// without them (the embedded database is made with its sample).
ClientOptions ParseClientOptions(const std::vector<std::string>& args);
std::string ClientHelpText();

// Creates the sample tables, with the permission and position tables, in the database the
// connection options name; false, and the reason written to err, when they cannot be made
// (they exist already, say).
bool CreateSample(const ClientOptions& o, std::ostream& err);

// The open session, with the client's tables and dialogs; nothing, and the reason written to
// err, when it cannot be opened.
std::shared_ptr<kvl::kvlSERV> OpenClientSession(const ClientOptions& o,
                                                std::shared_ptr<kvl::Dialogs> dialogs,
                                                std::ostream& err);

}  // namespace moradas
