// kvlsql: a command-line SQL client on the KVL2005 library.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "BatchReader.h"
#include "Options.h"
#include "ResultPrinter.h"
#include "Runner.h"
#include "Session.h"
#include "kvl/kvlSERV.h"

namespace {

// Runs every batch of standard input; whether the last one succeeded.
bool RunInput(kvlsql::Runner& runner) {
    bool terminal = isatty(STDIN_FILENO);
    if (terminal) std::cout << "kvlsql: end a batch with GO; QUIT or Ctrl-D ends the session.\n";
    kvlsql::BatchReader reader(std::cin, terminal ? &std::cout : nullptr);
    bool ok = true;
    while (auto batch = reader.Next()) ok = runner.Run(*batch);
    return ok;
}

bool RunCommands(kvlsql::Runner& runner, const std::vector<std::string>& commands) {
    bool ok = true;
    for (const std::string& sql : commands) ok = runner.Run(sql);
    return ok;
}

int Session(const kvlsql::Options& o) {
    auto s = kvlsql::OpenSession(o, std::cerr);
    if (!s) return 1;
    kvlsql::Runner runner(s, std::cout, std::cerr, o.count);
    bool ok = o.commands.empty() ? RunInput(runner) : RunCommands(runner, o.commands);
    if (o.log) kvlsql::PrintSqlLog(std::cout, *s);
    s->Fecha();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    kvlsql::Options o;
    try {
        o = kvlsql::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const kvlsql::UsageError& e) {
        std::cerr << "kvlsql: " << e.what() << " (kvlsql --help lists the options)\n";
        return 2;
    }
    if (o.help) {
        std::cout << kvlsql::HelpText();
        return 0;
    }
    try {
        return Session(o);
    } catch (const std::exception& e) {
        std::cerr << "kvlsql: " << e.what() << '\n';
        return 1;
    }
}
