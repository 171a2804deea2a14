#include "Options.h"

namespace kvlsql {

namespace {

// kvlsql's own switches.
bool ParseFlag(const kvlsession::Arguments& a, Options& o) {
    bool Options::*flag = a.Flag("--count")                 ? &Options::count
                          : a.Flag("--log")                 ? &Options::log
                          : a.Flag("--stop-on-error", "-b") ? &Options::stopOnError
                          : a.Flag("--help", "-h")          ? &Options::help
                                                            : nullptr;
    if (!flag) return false;
    o.*flag = true;
    return true;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    kvlsession::Arguments a(args);
    while (a.Next()) {
        if (kvlsession::ParseConnectionOption(a, o.connection) || ParseFlag(a, o)) continue;
        if (a.Name() == "-c") {
            o.inputs.push_back({Input::Kind::kCommand, a.Value()});
        } else if (a.Name() == "-f") {
            o.inputs.push_back({Input::Kind::kFile, a.Value()});
        } else {
            a.Unknown();
        }
    }
    return o;
}

std::string HelpText() {
    return R"help(Usage: kvlsql [connection options] [-c SQL | -f FILE]... [-b] [--count] [--log]

Runs SQL commands through the KVL2005 library and prints their results.

Connection (without any of these, kvlsql opens its own SQLite database,
$XDG_DATA_HOME/kvl2005/kvlsql.sqlite or ~/.local/share/kvl2005/kvlsql.sqlite,
created on first use with sample tables: concelhos, freguesias, tipos_via and
ruas, through the ODBC driver registered as SQLite3):
  --dsn NAME        data source name
  --driver NAME     ODBC driver name (a DRIVER=... connection instead of DSN=...)
  --server NAME     server
  --db NAME         database (for SQLite, the database file)
  --uid NAME        user
  --pwd TEXT        password
  --connect TEXT    a whole ODBC connection text, used as given
  --stack N         statement slots connected when the session opens (default 1)
  A refused login is tried once; its reason is the driver's, with its SQLSTATE.

Commands, run in the order given (without -c or -f, from standard input):
  -c SQL            run SQL as given, as one batch: a driver that takes several
                    statements in one call (PostgreSQL) gives a result set each
  -f FILE           run the script FILE; "-" is standard input
  In a script each statement is sent on its own, as psql and the sqlite3 shell
  do. A statement ends at ";" outside quotes ('...', E'...', "..."), comments
  (-- to the end of the line, /* ... */), dollar-quoted bodies ($$...$$,
  $tag$...$tag$) and the BEGIN ... END or CASE ... END blocks of a CREATE
  statement (a trigger or routine body); also at a line holding only GO, or at
  the end of the input. The comments around a statement are not sent. A line
  GO n runs the statement it ends n times (when a ";" already ran it, n - 1
  times more). A line holding only EXIT or QUIT ends the session; the
  statement it interrupts still runs. A prompt is shown when standard input is
  a terminal.
  -b, --stop-on-error
                    run nothing more after the first command that fails

kvlsql's own commands, on a line of their own in a script or as -c:
  \d TABLE          the fields of TABLE as the library describes them from the
                    database's catalog: type code, size, digits before and after
                    the point, least and greatest value of numbers, display width
                    and format (with the locale's decimal separator). It reads the
                    catalog views syscolumns and sysobjects: the default database
                    has them; sql/catalog-sqlite.sql and sql/catalog-postgresql.sql
                    in the project give them to other databases. A table is read
                    from the catalog once per session.

Output:
  Each result set of a command is printed in turn as a table with a header,
  then "(1 row)" or "(N rows)"; a command without columns prints "(N rows
  affected)". NULL values print as NULL. The library reads an empty text as
  NULL too. A result whose rows stop with an error is reported as incomplete,
  never as ended.
  --count           for a command that begins with SELECT, ask the library for
                    the number of rows first and print it as "(N rows predicted)".
                    The library sends count statements and the query, separated
                    by blanks, as one batch; drivers that reject such a batch
                    (SQLite and PostgreSQL do) get the query as given instead,
                    after a one-line notice, with no prediction.
  --log             print the session's SQL log at the end
  -h, --help        print this help

Errors:
  A failed command is reported in the library's Abort/Retry/Ignore dialog: on a
  terminal it asks, otherwise it writes the message to standard error and goes
  on. The exit status is 0 when every command succeeded, 1 when any failed, a
  script could not be read or the session could not be opened, and 2 for a
  command line kvlsql cannot read.
)help";
}

}  // namespace kvlsql
