// kvlsql: a command-line SQL client on the KVL2005 library.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Options.h"
#include "ResultPrinter.h"
#include "Runner.h"
#include "ScriptReader.h"
#include "Session.h"
#include "kvl/kvlSERV.h"

namespace {

using kvlsql::Input;

bool IsStandardInput(const Input& input) {
    return input.kind == Input::Kind::kFile && input.text == "-";
}

// Opens every script file before the session, so a misspelt name costs no login. The
// streams are in the order of the file inputs; standard input has none.
std::vector<std::unique_ptr<std::ifstream>> OpenScripts(const std::vector<Input>& inputs) {
    std::vector<std::unique_ptr<std::ifstream>> files;
    for (const Input& input : inputs) {
        if (input.kind != Input::Kind::kFile || IsStandardInput(input)) continue;
        auto& file = files.emplace_back(std::make_unique<std::ifstream>(input.text));
        if (!*file)
            throw std::runtime_error("cannot open the script " + input.text + ": " +
                                     std::strerror(errno));
    }
    return files;
}

void RunStandardInput(kvlsql::Runner& runner, bool& quit) {
    bool terminal = isatty(STDIN_FILENO);
    if (terminal)
        std::cout << "kvlsql: end a statement with ; or a line GO; QUIT or Ctrl-D ends the "
                     "session.\n";
    kvlsql::ScriptReader script(std::cin, "standard input", terminal ? &std::cout : nullptr);
    runner.Run(script);
    quit = script.Quit();
}

// Runs the commands and scripts in the order given; a line EXIT or QUIT in a script, or
// the first failure with --stop-on-error, ends the session.
void RunInputs(kvlsql::Runner& runner, const std::vector<Input>& inputs,
               std::vector<std::unique_ptr<std::ifstream>>& files) {
    auto file = files.begin();
    bool quit = false;
    for (const Input& input : inputs) {
        if (quit || runner.Stopped()) return;
        if (input.kind == Input::Kind::kCommand) {
            runner.Run(input.text);
        } else if (IsStandardInput(input)) {
            RunStandardInput(runner, quit);
        } else {
            kvlsql::ScriptReader script(**file++, input.text);
            runner.Run(script);
            quit = script.Quit();
        }
    }
}

int Session(const kvlsql::Options& o) {
    std::vector<Input> inputs = o.inputs;
    if (inputs.empty()) inputs.push_back({Input::Kind::kFile, "-"});
    auto files = OpenScripts(inputs);
    auto s = kvlsession::OpenSession(o.connection, "kvlsql", std::cerr, kvl::odbc::UnixOdbc(),
                                     [&](kvl::kvlSERV& opening) { opening.Log = o.log; });
    if (!s) return 1;
    kvlsql::Runner runner(s, std::cout, std::cerr, o.count, o.stopOnError);
    RunInputs(runner, inputs, files);
    if (o.log) kvlsql::PrintSqlLog(std::cout, *s);
    s->Fecha();
    return runner.Failures() > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    kvlsql::Options o;
    try {
        o = kvlsql::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const kvlsession::UsageError& e) {
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
