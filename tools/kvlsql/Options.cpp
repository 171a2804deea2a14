#include "Options.h"

namespace kvlsql {

namespace {

// kvlsql's own switches.
bool ParseFlag(const kvlsession::Arguments& a, Options& o) {
    struct FlagName {
        const char* name;
        const char* shortName;
        bool* field;
    };
    const FlagName flags[] = {
        {"--count", "", &o.run.predictRows},
        {"--stop-on-error", "-b", &o.run.stopOnError},
        {"--ask", "", &o.run.ask},
        {"--tuples-only", "-t", &o.run.output.tuplesOnly},
        {"--expanded", "-x", &o.run.output.expanded},
        {"--password", "-W", &o.askPassword},
        {"--log", "", &o.log},
        {"--help", "-h", &o.help},
        {"--version", "", &o.version},
    };
    for (const FlagName& f : flags) {
        if (!a.Flag(f.name, f.shortName)) continue;
        *f.field = true;
        return true;
    }
    return false;
}

// The switches of the layout.
bool ParseLayout(const kvlsession::Arguments& a, Options& o) {
    if (a.Flag("--csv")) {
        o.run.output.layout = Layout::kCsv;
    } else if (a.Flag("--unaligned", "-A")) {
        o.run.output.layout = Layout::kUnaligned;
    } else {
        return false;
    }
    return true;
}

void ParseVariable(const std::string& assignment, Options& o) {
    size_t equals = assignment.find('=');
    if (equals == 0 || equals == std::string::npos)
        throw kvlsession::UsageError("-v needs NAME=VALUE, not \"" + assignment + "\"");
    o.variables[assignment.substr(0, equals)] = assignment.substr(equals + 1);
}

// Options that take a value.
bool ParseValue(kvlsession::Arguments& a, Options& o) {
    const std::string& name = a.Name();
    if (name == "-c") {
        o.inputs.push_back({Input::Kind::kCommand, a.Value()});
    } else if (name == "-f") {
        o.inputs.push_back({Input::Kind::kFile, a.Value()});
    } else if (name == "-F" || name == "--field-separator") {
        o.run.output.fieldSeparator = a.Value();
    } else if (name == "-o" || name == "--output") {
        o.outputFile = a.Value();
    } else if (name == "--null") {
        o.run.output.nullText = a.Value();
    } else if (name == "-v" || name == "--variable") {
        ParseVariable(a.Value(), o);
    } else {
        return false;
    }
    return true;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    kvlsession::Arguments a(args);
    while (a.Next()) {
        if (kvlsession::ParseConnectionOption(a, o.connection) || ParseFlag(a, o) ||
            ParseLayout(a, o) || ParseValue(a, o))
            continue;
        a.Unknown();
    }
    return o;
}

}  // namespace kvlsql
