#pragma once
// Command lines run by the installer: the registration and the automation servers.

#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <string>

#include "winhost/DriveMap.h"

namespace zovlt {

struct CommandLine {
    std::filesystem::path program;  // resolved
    QStringList arguments;
};

// The folder of the running program.
std::filesystem::path OwnFolder();

// Splits a command line (blanks separate, double quotes group) and resolves its program:
// a name with a "/" as given, else first in the running program's own folder, then on PATH.
// Throws kvl::Error 53 when the program cannot be found, 70 when it may not be run.
CommandLine ResolveCommand(const std::string& commandLine);

// The environment of the programs the installer starts: its own, plus drive C:'s folder.
QProcessEnvironment ChildEnvironment(const winhost::DriveMap& drives);

// Starts the command detached, with no terminal or window, and does not wait for it.
void StartDetachedHidden(const std::string& commandLine, const winhost::DriveMap& drives);

// Runs the command with no terminal or window and waits for its end, whatever its outcome; one
// that does not end within a minute is stopped.
void RunHiddenToEnd(const std::string& commandLine, const winhost::DriveMap& drives);

}  // namespace zovlt
