#include "platform/LinuxPlatform.h"

#include <QLocale>
#include <fstream>
#include <iterator>

#include "kvl/Error.h"
#include "platform/OdbcLibrary.h"
#include "winhost/Errors.h"
#include "winhost/Removal.h"
#include "winhost/RunLog.h"

namespace fs = std::filesystem;

namespace setup {

namespace {

// The folder itself when it exists, else the nearest folder above it that does.
fs::path NearestExisting(fs::path folder) {
    std::error_code error;
    while (!fs::is_directory(folder, error) && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return folder;
}

}  // namespace

LinuxPlatform::LinuxPlatform(LinuxPlatformOptions options, winhost::MessageBoxes& boxes,
                             FolderChooser* chooser)
    : options_(std::move(options)),
      boxes_(boxes),
      chooser_(chooser),
      files_(winhost::DriveMap(options_.driveC)) {
    files_.PrintCopies(options_.printCopies);
}

std::string LinuxPlatform::TempFolder() {
    if (options_.staging) return files_.Drives().ToWindows(*options_.staging);
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    if (error) throw kvl::Error(kvl::kPathNotFound);
    return files_.Drives().ToWindows(temporary);
}

std::uintmax_t LinuxPlatform::FileSize(const std::string& path) {
    return files_.FileSize(path);
}

std::string LinuxPlatform::RegRead(const std::string& path) {
    if (!registry_) registry_ = RegistryFile::Load(options_.registryFile);
    return registry_->Read(path);
}

void LinuxPlatform::CopyFile(const std::string& source, const std::string& destination) {
    files_.CopyFile(source, destination);
}

std::unique_ptr<winhost::Placement> LinuxPlatform::NewPlacement() {
    return std::make_unique<winhost::StagedPlacement>(files_);
}

std::vector<std::string> LinuxPlatform::RemoveLeftovers(const std::string& folder) {
    return winhost::RemoveLeftovers(files_.Drives(), folder);
}

std::unique_ptr<SymbolLibrary> LinuxPlatform::OpenLibrary(const std::string& path) {
    // A driver would create a missing file and then find no tables in it.
    files_.FileSize(path);
    const fs::path file = files_.Drives().ToHost(path);
    return std::make_unique<OdbcSymbolLibrary>(
        LibraryConnectionText(options_.libraryConnection, file.string()), path);
}

bool LinuxPlatform::CanRemove(const std::string& path) {
    return winhost::CanRemove(files_.Drives(), path);
}

std::optional<std::string> LinuxPlatform::ReadText(const std::string& path) {
    std::ifstream in(files_.Drives().ToHost(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Under a leftover's name first, so that a run killed meanwhile leaves the record as it was.
void LinuxPlatform::WriteText(const std::string& path, const std::string& text) {
    const fs::path file = files_.Drives().ToHost(path);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const fs::path temporary = file.parent_path() / ".winhost-record.part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            throw winhost::NamedError(kvl::kPathFileAccessError, path);
        }
    }
    fs::rename(temporary, file, error);
    if (error) {
        fs::remove(temporary, error);
        throw winhost::NamedError(kvl::kPathFileAccessError, path);
    }
    winhost::RunLog::Write("Registo da instalação: " + path);
}

std::string LinuxPlatform::DecimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

winhost::Button LinuxPlatform::MsgBox(const std::string& text, int flags,
                                      const std::string& title) {
    return boxes_.Show(text, flags, title);
}

std::optional<std::string> LinuxPlatform::ChooseFolder(WindowHandle owner,
                                                       const std::string& current) {
    if (!chooser_) return std::nullopt;
    fs::path start = files_.Drives().DriveC();
    try {
        if (!current.empty()) start = NearestExisting(files_.Drives().ToHost(current));
    } catch (const kvl::Error&) {
        // A folder on no drive of this host: the chooser starts at drive C:.
    }
    std::optional<fs::path> folder = chooser_->Choose(owner, start, files_.Drives().DriveC());
    if (!folder) return std::nullopt;
    return files_.Drives().ToWindows(*folder);
}

}  // namespace setup
