#pragma once
// kvlsql's own commands: a line that begins with a backslash, in a script, at the prompt
// or as -c.

#include <string>

namespace kvlsql {

class Runner;

// Runs the command; false when it failed (told through the runner's messages). An
// unknown command names those there are.
bool RunMetaCommand(Runner& runner, const std::string& line);

// What \? prints: each command with what it does.
std::string MetaCommandHelp();

}  // namespace kvlsql
