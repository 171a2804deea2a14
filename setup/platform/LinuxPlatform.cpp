#include "platform/LinuxPlatform.h"

#include <QLocale>

#include "kvl/Error.h"
#include "platform/OdbcLibrary.h"
#include "winhost/Files.h"

namespace fs = std::filesystem;

namespace setup {

namespace {

// A file that must exist; error 53 otherwise, folders included.
void RequireFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) throw kvl::Error(kvl::kFileNotFound);
}

}  // namespace

LinuxPlatform::LinuxPlatform(LinuxPlatformOptions options, winhost::MessageBoxes& boxes,
                             FolderChooser* chooser)
    : options_(std::move(options)), boxes_(boxes), chooser_(chooser), drives_(options_.driveC) {}

std::string LinuxPlatform::TempFolder() {
    if (options_.staging) return drives_.ToWindows(*options_.staging);
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    if (error) throw kvl::Error(kvl::kPathNotFound);
    return drives_.ToWindows(temporary);
}

std::uintmax_t LinuxPlatform::FileSize(const std::string& path) {
    const fs::path file = drives_.ToHost(path);
    RequireFile(file);
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error) throw winhost::FileError(error.value(), winhost::Missing::File);
    return size;
}

std::string LinuxPlatform::RegRead(const std::string& path) {
    if (!registry_) registry_ = RegistryFile::Load(options_.registryFile);
    return registry_->Read(path);
}

void LinuxPlatform::CopyFile(const std::string& source, const std::string& destination) {
    const fs::path from = drives_.ToHost(source);
    RequireFile(from);
    winhost::ReplaceFile(from, drives_.ToHost(destination));
}

std::unique_ptr<SymbolLibrary> LinuxPlatform::OpenLibrary(const std::string& path) {
    const fs::path file = drives_.ToHost(path);
    // The driver would create a missing file and then find no tables in it.
    RequireFile(file);
    return std::make_unique<OdbcSymbolLibrary>(
        LibraryConnectionText(options_.libraryConnection, file.string()));
}

std::string LinuxPlatform::DecimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

winhost::Button LinuxPlatform::MsgBox(const std::string& text, int flags,
                                      const std::string& title) {
    return boxes_.Show(text, flags, title);
}

std::optional<std::string> LinuxPlatform::ChooseFolder(WindowHandle owner) {
    std::optional<fs::path> folder = chooser_ ? chooser_->Choose(owner) : std::nullopt;
    if (!folder) return std::nullopt;
    return drives_.ToWindows(*folder);
}

}  // namespace setup
