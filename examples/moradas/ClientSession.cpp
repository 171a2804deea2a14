#include "ClientSession.h"

#include "SampleDatabase.h"
#include "Session.h"
#include "kvl/kvlRES.h"
#include "kvl/kvlSERV.h"

namespace moradas {

namespace {

// Loading the rights looks the user's group up in the database's user catalogue
// (DB.dbo.sysusers). A database without users, as the embedded SQLite one, has no such
// catalogue, so that query fails through the error check on every start, though its failure
// only means "no group", which the library then handles. While the rights load, the client
// answers that one failure unseen, with Ignore, as the error check's dialogs do when nobody
// can be asked. Keeping every message off instead would also hide an unreadable permission
// table, which leaves options disabled for no visible reason.
class GroupLookupAnswered : public kvl::Dialogs {
  public:
    explicit GroupLookupAnswered(std::shared_ptr<kvl::Dialogs> shown) : shown_(std::move(shown)) {}
    int32_t Pergunta(std::string_view title, std::string_view text, int32_t style) override {
        const bool groupLookup = (style & kvl::kAbortRetryIgnore) == kvl::kAbortRetryIgnore &&
                                 text.find(".dbo.sysusers") != std::string_view::npos;
        return groupLookup ? kvl::kIgnore : shown_->Pergunta(title, text, style);
    }

  private:
    std::shared_ptr<kvl::Dialogs> shown_;
};

}  // namespace

ClientOptions ParseClientOptions(const std::vector<std::string>& args) {
    ClientOptions o;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--create-sample") {
            o.createSample = true;
        } else if (args[i] == "--user") {
            if (i + 1 >= args.size()) throw kvlsql::UsageError("--user needs a value");
            o.user = args[++i];
        } else if (args[i].starts_with("--user=")) {
            o.user = args[i].substr(7);
        } else {
            rest.push_back(args[i]);
        }
    }
    o.connection = kvlsql::ParseOptions(rest);
    o.help = o.connection.help;
    const kvlsql::Options& c = o.connection;
    if (!c.inputs.empty() || c.count || c.stopOnError)
        throw kvlsql::UsageError("kvl-moradas takes the connection options only, not commands");
    if (o.user && !c.UsesDefaultDatabase())
        throw kvlsql::UsageError("--user is for the embedded database; a server's login is --uid");
    if (o.createSample && c.UsesDefaultDatabase())
        throw kvlsql::UsageError(
            "--create-sample is for a server's database; the embedded one is made with it");
    return o;
}

std::string ClientHelpText() {
    return "Usage: kvl-moradas [--user NAME | --create-sample] [connection options]\n"
           "The streets of the sample database, on the KVL2005 library.\n"
           "  --user NAME      whose rights and window positions apply on the embedded database\n"
           "  --create-sample  first make the sample tables in the server's database (it needs\n"
           "                   the catalog views too: sql/catalog-postgresql.sql, run by kvlsql)\n"
           "Without connection options the embedded SQLite database is opened, created first\n"
           "when missing. The connection options are those of kvlsql:\n"
           "  --dsn, --driver, --server, --db, --uid, --pwd, --connect, --stack, --log\n";
}

bool CreateSample(const ClientOptions& o, std::ostream& err) {
    // A plain session: the client's tables are what is missing.
    auto s = kvlsql::OpenSession(o.connection, err, kvl::odbc::UnixOdbc(),
                                 [](kvl::kvlSERV& plain) { plain.ComMsg = false; });
    if (!s) return false;
    // All or nothing: a table that exists already leaves the database as it was.
    s->Exec("BEGIN");
    try {
        kvlsql::CreateSampleTables(*s);
    } catch (const std::exception& e) {
        s->Exec("ROLLBACK");
        s->Fecha();
        err << "kvl-moradas: cannot create the sample tables: " << e.what() << '\n';
        return false;
    }
    auto committed = s->Exec("COMMIT");
    const bool made = committed && !committed->erro;
    if (!made) err << "kvl-moradas: cannot create the sample tables: " << s->ErroD << '\n';
    s->Fecha();
    return made;
}

std::shared_ptr<kvl::kvlSERV> OpenClientSession(const ClientOptions& o,
                                                std::shared_ptr<kvl::Dialogs> dialogs,
                                                std::ostream& err) {
    auto session =
        kvlsql::OpenSession(o.connection, err, kvl::odbc::UnixOdbc(), [&](kvl::kvlSERV& s) {
            s.Dialogos = dialogs;
            s.Aplicação = kApplication;
            if (o.user) s.UID = *o.user;
        });
    if (!session) return nullptr;
    // The tables are named once connected and loaded as the open would load them: an open
    // with them named loads them after a failed connect too, and the group query's own
    // connect attempt then leaves the first failure's reason unreadable.
    session->TabelaDePerm = kPermissionTable;
    session->TabelaDePos = kPositionTable;
    session->TabelaPosCarrega();
    session->Dialogos = std::make_shared<GroupLookupAnswered>(dialogs);
    session->TabelaPermCarrega(session->DB);
    session->Dialogos = std::move(dialogs);
    return session;
}

}  // namespace moradas
