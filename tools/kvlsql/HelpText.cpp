// What kvlsql --help prints.

#include "MetaCommands.h"
#include "Options.h"

namespace kvlsql {

std::string HelpText() {
    return R"help(Usage: kvlsql [connection options] [-c SQL | -f FILE]... [options]

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
  --pwd TEXT        password. Every local user can read it in the process list
                    (ps): prefer -W, KVLSQL_PASSWORD, or PGPASSWORD for PostgreSQL
  -W, --password    ask for the password, without showing it, before connecting
  --connect TEXT    a whole ODBC connection text, used as given (-W and
                    KVLSQL_PASSWORD add PWD=... to it)
  --stack N         statement slots connected when the session opens (default 1)
  A refused login is tried once; its reason is the driver's, with its SQLSTATE.
  Without a password from any of these, a login the server refuses for want of
  one asks for it once at a terminal. The environment variable KVLSQL_PASSWORD
  gives the password when no option does; PostgreSQL's driver also reads
  PGPASSWORD (and ~/.pgpass) itself.

Commands, run in the order given (without -c or -f, from standard input):
  -c SQL            run SQL as given, as one batch: a driver that takes several
                    statements in one call (PostgreSQL) gives a result set each;
                    or one of kvlsql's own commands (below)
  -f FILE           run the script FILE; "-" is standard input
  -v, --variable NAME=VALUE
                    set the variable NAME, as \set does
  In a script each statement is sent on its own, as psql and the sqlite3 shell
  do. A statement ends at ";" outside quotes ('...', E'...', "..."), comments
  (-- to the end of the line, /* ... */), dollar-quoted bodies ($$...$$,
  $tag$...$tag$) and the BEGIN ... END or CASE ... END blocks of a CREATE
  statement (a trigger or routine body); also at a line holding only GO, or at
  the end of the input. The comments around a statement are not sent. A line
  GO n runs the statement it ends n times (when a ";" already ran it, n - 1
  times more). A line holding only EXIT or QUIT ends the session; the
  statement it interrupts still runs. In a script, :NAME outside quotes and
  comments stands for the value of the variable NAME (:'NAME' quoted as text,
  :"NAME" as a name); -c texts are sent as given.
  -b, --stop-on-error
                    run nothing more after the first command that fails
  --ask             ask Abort, Retry or Ignore when a command fails (Abort ends
                    the session, Retry runs the command again)

At a terminal: lines are edited with the arrow keys, Up and Down recall the
lines typed before (kept in $XDG_STATE_HOME/kvl2005/kvlsql_history, or
~/.local/state/kvl2005/kvlsql_history), Ctrl-C drops the statement being typed
or stops the one running (the prompt comes back), and Ctrl-D on an empty line
ends the session. Elsewhere Ctrl-C stops the running statement and the session.

kvlsql's own commands, on a line of their own in a script, at the prompt or as -c:
)help" + MetaCommandHelp() +
           R"help(  \d NAME describes the fields as the library does from the database's catalog:
  type code, size, digits before and after the point, least and greatest value
  of numbers, display width and format (with the locale's decimal separator).
  It reads the catalog views syscolumns and sysobjects: the default database
  has them; sql/catalog-sqlite.sql and sql/catalog-postgresql.sql in the
  project give them to other databases.

Output:
  Each result set of a command is printed in turn as a table with a header,
  then "(1 row)" or "(N rows)"; a command without columns prints "(N rows
  affected)". NULL shows as NULL, the empty text as nothing. Numbers are
  right-aligned; wide characters (Chinese, Japanese, Korean, most emoji) take
  two columns. A result whose rows stop with an error or Ctrl-C is reported as
  incomplete, never as ended.
  -o, --output FILE results to FILE (\o changes it)
  -A, --unaligned   fields between separators, as they are
  -F, --field-separator SEP
                    the separator of -A (default "|")
  --csv             CSV as RFC 4180 has it: fields quoted where needed, records
                    ended by CR LF, NULL an empty field and the empty text ""
  -t, --tuples-only rows only: no header, no row count
  -x, --expanded    one line per field, record after record (\x switches it)
  --null TEXT       how NULL shows (default NULL; in CSV, an empty field)
  --count           for a single statement beginning with SELECT, print the
                    number of rows first, as "(N rows predicted)": the database
                    counts them with the query inside SELECT count(*), so the
                    query runs twice (functions it calls as well)
  --log             print the session's SQL log at the end
  --version         print the version
  -h, --help        print this help

Errors:
  A failed command is told on standard error as FILE:LINE: ERROR SQLSTATE:
  message (FILE is the script, "standard input" or "-c"); the next command
  follows, or the prompt. The server's notices and warnings are told as
  FILE:LINE: NOTICE: ... and WARNING: ... lines. A lost link to the server
  asks whether to re-establish it. The exit status is 0 when every command
  succeeded, 1 when any failed, a script could not be read or the session could
  not be opened, and 2 for a command line kvlsql cannot read.
)help";
}

}  // namespace kvlsql
