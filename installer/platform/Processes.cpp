#include "platform/Processes.h"

#include <unistd.h>

#include <QProcess>
#include <cstdlib>
#include <sstream>

#include "kvl/Error.h"
#include "winhost/Errors.h"

namespace zovlt {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> SearchFolders() {
    std::vector<fs::path> folders{OwnFolder()};
    const char* path = std::getenv("PATH");
    std::istringstream parts(path ? path : "");
    for (std::string folder; std::getline(parts, folder, ':');) {
        if (!folder.empty()) folders.emplace_back(folder);
    }
    return folders;
}

fs::path FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    for (const fs::path& folder : SearchFolders()) {
        std::error_code ec;
        const fs::path candidate = folder / name;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    throw winhost::NamedError(kvl::kFileNotFound, name);
}

}  // namespace

fs::path OwnFolder() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

CommandLine ResolveCommand(const std::string& commandLine) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty()) throw winhost::NamedError(kvl::kFileNotFound, commandLine);
    CommandLine command{FindProgram(parts.takeFirst().toStdString()), parts};
    std::error_code ec;
    if (!fs::is_regular_file(command.program, ec)) {
        throw winhost::NamedError(kvl::kFileNotFound, command.program.string());
    }
    if (::access(command.program.c_str(), X_OK) != 0) {
        throw winhost::NamedError(kvl::kPermissionDenied, command.program.string());
    }
    return command;
}

QProcessEnvironment ChildEnvironment(const winhost::DriveMap& drives) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(winhost::DriveMap::kInheritedVariable),
                       QString::fromStdString(drives.DriveC().string()));
    return environment;
}

namespace {

constexpr int kRunWaitMs = 60000;

// A process of the command with no terminal: nothing in, nothing out.
void PrepareHidden(QProcess& process, const std::string& commandLine,
                   const winhost::DriveMap& drives) {
    const CommandLine command = ResolveCommand(commandLine);
    process.setProcessEnvironment(ChildEnvironment(drives));
    process.setProgram(QString::fromStdString(command.program.string()));
    process.setArguments(command.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
}

}  // namespace

void StartDetachedHidden(const std::string& commandLine, const winhost::DriveMap& drives) {
    QProcess process;
    PrepareHidden(process, commandLine, drives);
    if (!process.startDetached()) {
        throw winhost::NamedError(kvl::kPathFileAccessError, commandLine);
    }
}

void RunHiddenToEnd(const std::string& commandLine, const winhost::DriveMap& drives) {
    QProcess process;
    PrepareHidden(process, commandLine, drives);
    process.start();
    if (!process.waitForStarted()) {
        throw winhost::NamedError(kvl::kPathFileAccessError, commandLine);
    }
    if (!process.waitForFinished(kRunWaitMs)) {
        process.kill();
        process.waitForFinished();
    }
}

}  // namespace zovlt
