#include "MetaCommands.h"

#include <algorithm>
#include <sstream>

#include "Catalog.h"
#include "Runner.h"

namespace kvlsql {

namespace {

using Handler = bool (*)(Runner& runner, const std::string& argument);

struct MetaCommand {
    const char* name;
    const char* arguments;
    const char* does;
    Handler handler;
};

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "on", "off", or nothing to switch; false, and the switch as it was, for anything else.
bool Switch(Runner& runner, const char* command, const std::string& argument, bool& value) {
    if (argument.empty() || argument == "on" || argument == "off") {
        value = argument.empty() ? !value : argument == "on";
        return true;
    }
    runner.Tell().Error(std::string(command) + " takes on or off, not " + argument);
    return false;
}

bool Describe(Runner& runner, const std::string& argument) {
    std::string table = argument;
    while (table.ends_with(';')) table.pop_back();  // as a statement would end
    table = Trimmed(table);
    return table.empty() ? ListTables(runner, false) : DescribeTable(runner, table);
}

bool Tables(Runner& runner, const std::string&) {
    return ListTables(runner, true);
}

bool Include(Runner& runner, const std::string& file) {
    if (file.empty()) {
        runner.Tell().Error("\\i needs the name of a script");
        return false;
    }
    return runner.RunFile(file);
}

bool Output(Runner& runner, const std::string& file) {
    if (file.empty()) {
        runner.Output().ToStandard();
        return true;
    }
    try {
        runner.Output().ToFile(file);
        return true;
    } catch (const std::exception& e) {
        runner.Tell().Error(std::string("\\o: ") + e.what());
        return false;
    }
}

bool Timing(Runner& runner, const std::string& argument) {
    bool& timing = runner.Settings().timing;
    if (!Switch(runner, "\\timing", argument, timing)) return false;
    runner.Err() << "Timing is " << (timing ? "on" : "off") << ".\n";
    return true;
}

bool Expanded(Runner& runner, const std::string& argument) {
    bool& expanded = runner.Settings().output.expanded;
    if (!Switch(runner, "\\x", argument, expanded)) return false;
    runner.Err() << "Expanded display is " << (expanded ? "on" : "off") << ".\n";
    return true;
}

// A value in single quotes stands without them, a doubled quote inside for one.
std::string Unquoted(const std::string& value) {
    if (value.size() < 2 || !value.starts_with('\'') || !value.ends_with('\'')) return value;
    std::string unquoted;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        unquoted += value[i];
        if (value[i] == '\'' && value[i + 1] == '\'') ++i;
    }
    return unquoted;
}

bool Set(Runner& runner, const std::string& argument) {
    auto& variables = runner.Variables();
    if (argument.empty()) {
        for (const auto& [name, value] : variables)
            runner.Output().Stream() << name << " = '" << value << "'\n";
        return true;
    }
    size_t end = argument.find_first_of(" \t");
    std::string name = argument.substr(0, end);
    bool valid = std::ranges::all_of(name, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80;
    });
    if (!valid) {
        runner.Tell().Error("\\set: a variable's name is letters, digits and _, not " + name);
        return false;
    }
    variables[name] = end == std::string::npos ? "" : Unquoted(Trimmed(argument.substr(end)));
    return true;
}

bool Unset(Runner& runner, const std::string& name) {
    runner.Variables().erase(name);
    return true;
}

bool QuitSession(Runner& runner, const std::string&) {
    runner.Quit();
    return true;
}

bool Help(Runner& runner, const std::string&) {
    runner.Output().Stream() << MetaCommandHelp();
    return true;
}

constexpr MetaCommand kCommands[] = {
    {"\\d", "[NAME]", "the tables and views; with NAME, the fields of that table or view",
     Describe},
    {"\\dt", "", "the tables", Tables},
    {"\\i", "FILE", "runs the script FILE", Include},
    {"\\o", "[FILE]", "results to FILE from now on; without FILE, to standard output again",
     Output},
    {"\\timing", "[on|off]", "the time each command takes, after its results", Timing},
    {"\\x", "[on|off]", "expanded display: one line per field, record after record", Expanded},
    {"\\set", "[NAME [VALUE]]",
     "sets the variable NAME, which :NAME stands for in statements from then on (:'NAME' "
     "quoted as text, :\"NAME\" as a name); without NAME, lists the variables",
     Set},
    {"\\unset", "NAME", "forgets the variable NAME", Unset},
    {"\\q", "", "ends the session", QuitSession},
    {"\\?", "", "this list", Help},
};

std::string CommandNames() {
    std::string names;
    for (const MetaCommand& c : kCommands)
        names += (names.empty() ? "" : " ") + std::string(c.name);
    return names;
}

}  // namespace

std::string MetaCommandHelp() {
    std::ostringstream help;
    for (const MetaCommand& c : kCommands) {
        std::string usage = std::string(c.name) + (*c.arguments ? " " : "") + c.arguments;
        help << "  " << usage << std::string(usage.size() < 22 ? 22 - usage.size() : 1, ' ')
             << c.does << '\n';
    }
    return help.str();
}

bool RunMetaCommand(Runner& runner, const std::string& line) {
    size_t end = line.find_first_of(" \t");
    std::string name = line.substr(0, end);
    std::string argument = end == std::string::npos ? "" : Trimmed(line.substr(end));
    for (const MetaCommand& c : kCommands)
        if (name == c.name) return c.handler(runner, argument);
    runner.Tell().Error("unknown command " + name + "; the commands are " + CommandNames() +
                        " (\\? tells what each does)");
    return false;
}

}  // namespace kvlsql
