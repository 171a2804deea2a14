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
    kvlsession::Arguments a(args);
    while (a.Next()) {
        if (kvlsession::ParseConnectionOption(a, o.connection)) continue;
        if (a.Name() == "--user") {
            o.user = a.Value();
        } else if (a.Flag("--create-sample")) {
            o.createSample = true;
        } else if (a.Flag("--log")) {
            o.log = true;
        } else if (a.Flag("--help", "-h")) {
            o.help = true;
        } else {
            a.Unknown();
        }
    }
    const bool embedded = o.connection.UsesDefaultDatabase();
    if (o.user && !embedded)
        throw kvlsession::UsageError(
            "--user is for the embedded database; a server's login is --uid");
    if (o.createSample && embedded)
        throw kvlsession::UsageError(
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
    auto s = kvlsession::OpenSession(o.connection, kProgram, err, kvl::odbc::UnixOdbc(),
                                     [](kvl::kvlSERV& plain) { plain.ComMsg = false; });
    if (!s) return false;
    // All or nothing: a table that exists already leaves the database as it was.
    s->Exec("BEGIN");
    try {
        kvlsession::CreateSampleTables(*s);
    } catch (const std::exception& e) {
        s->Exec("ROLLBACK");
        s->Fecha();
        err << kProgram << ": cannot create the sample tables: " << e.what() << '\n';
        return false;
    }
    auto committed = s->Exec("COMMIT");
    const bool made = committed && !committed->erro;
    if (!made) err << kProgram << ": cannot create the sample tables: " << s->ErroD << '\n';
    s->Fecha();
    return made;
}

std::shared_ptr<kvl::kvlSERV> OpenClientSession(const ClientOptions& o,
                                                std::shared_ptr<kvl::Dialogs> dialogs,
                                                std::ostream& err) {
    auto session = kvlsession::OpenSession(
        o.connection, kProgram, err, kvl::odbc::UnixOdbc(), [&](kvl::kvlSERV& s) {
            // The open loads the rights, and with them the group lookup answered unseen.
            s.Dialogos = std::make_shared<GroupLookupAnswered>(dialogs);
            s.Aplicação = kApplication;
            s.TabelaDePerm = kPermissionTable;
            s.TabelaDePos = kPositionTable;
            s.Log = o.log;
            if (o.user) s.UID = *o.user;
        });
    if (session) session->Dialogos = std::move(dialogs);
    return session;
}

}  // namespace moradas
