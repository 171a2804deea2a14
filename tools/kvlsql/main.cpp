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

#include "Interrupts.h"
#include "LineEditor.h"
#include "Options.h"
#include "Password.h"
#include "ResultPrinter.h"
#include "Runner.h"
#include "ScriptReader.h"
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

// Standard input: typed at a terminal, with line editing, or read as a script.
void RunStandardInput(kvlsql::Runner& runner, kvlsql::Interrupts& interrupts) {
    if (!isatty(STDIN_FILENO)) {
        kvlsql::ScriptReader script(std::cin, "standard input");
        runner.Run(script);
        return;
    }
    std::cout << "kvlsql: end a statement with ; or a line GO; \\? lists kvlsql's commands; \\q "
                 "or Ctrl-D ends the session.\n";
    kvlsql::LineEditor editor(kvlsql::HistoryFile(), interrupts);
    kvlsql::ScriptReader script(editor, "standard input");
    runner.Run(script);
}

// Runs the commands and scripts in the order given, until the runner stops.
void RunInputs(kvlsql::Runner& runner, kvlsql::Interrupts& interrupts,
               const std::vector<Input>& inputs,
               std::vector<std::unique_ptr<std::ifstream>>& files) {
    auto file = files.begin();
    for (const Input& input : inputs) {
        if (runner.Stopped()) return;
        if (input.kind == Input::Kind::kCommand) {
            runner.Run(input.text, {"-c", 1});
        } else if (IsStandardInput(input)) {
            RunStandardInput(runner, interrupts);
        } else {
            kvlsql::ScriptReader script(**file++, input.text);
            runner.Run(script);
        }
    }
}

int Session(const kvlsql::Options& o) {
    std::vector<Input> inputs = o.inputs;
    if (inputs.empty()) inputs.push_back({Input::Kind::kFile, "-"});
    auto files = OpenScripts(inputs);
    auto s = kvlsql::Login(o.connection, o.askPassword, std::cerr,
                           [&](kvl::kvlSERV& opening) { opening.Log = o.log; });
    if (!s) return 1;
    int failures = 0;
    {
        kvlsql::Interrupts interrupts([&s] { s->Cancela(); });
        kvlsql::Runner runner(s, std::cout, std::cerr, o.run, &interrupts);
        runner.Variables() = o.variables;
        if (o.outputFile) runner.Output().ToFile(*o.outputFile);
        RunInputs(runner, interrupts, inputs, files);
        if (o.log) kvlsql::PrintSqlLog(std::cout, *s);
        failures = runner.Failures();
    }
    s->Fecha();
    return failures > 0 ? 1 : 0;
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
    if (o.help || o.version) {
        std::cout << (o.help ? kvlsql::HelpText() : "kvlsql " KVLSQL_VERSION "\n");
        return 0;
    }
    try {
        return Session(o);
    } catch (const std::exception& e) {
        std::cerr << "kvlsql: " << e.what() << '\n';
        return 1;
    }
}
