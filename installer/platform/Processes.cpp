#include "platform/Processes.h"

#include <unistd.h>

#include <QProcess>
#include <cstdlib>
#include <sstream>

#include "kvl/Error.h"

namespace zovlt {

namespace fs = std::filesystem;

namespace {

fs::path OwnFolder() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

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
    throw kvl::Error(kvl::kFileNotFound);
}

}  // namespace

CommandLine ResolveCommand(const std::string& commandLine) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty()) throw kvl::Error(kvl::kFileNotFound);
    CommandLine command{FindProgram(parts.takeFirst().toStdString()), parts};
    std::error_code ec;
    if (!fs::is_regular_file(command.program, ec)) throw kvl::Error(kvl::kFileNotFound);
    if (::access(command.program.c_str(), X_OK) != 0) throw kvl::Error(kvl::kPermissionDenied);
    return command;
}

QProcessEnvironment ChildEnvironment(const winhost::DriveMap& drives) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(winhost::DriveMap::kInheritedVariable),
                       QString::fromStdString(drives.DriveC().string()));
    return environment;
}

void StartDetachedHidden(const std::string& commandLine, const winhost::DriveMap& drives) {
    const CommandLine command = ResolveCommand(commandLine);
    QProcess process;
    process.setProcessEnvironment(ChildEnvironment(drives));
    process.setProgram(QString::fromStdString(command.program.string()));
    process.setArguments(command.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) throw kvl::Error(kvl::kPathFileAccessError);
}

}  // namespace zovlt
