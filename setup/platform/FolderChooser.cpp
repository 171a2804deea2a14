#include "platform/FolderChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>
#include <QWidget>

namespace setup {

namespace {

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

std::optional<std::filesystem::path> DialogFolderChooser::Choose(
    WindowHandle owner, const std::filesystem::path& start, const std::filesystem::path& driveC) {
    QFileDialog dialog(QWidget::find(static_cast<WId>(owner)));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(FromPath(start));
    dialog.setSidebarUrls({QUrl::fromLocalFile(FromPath(driveC)),
                           QUrl::fromLocalFile(QDir::homePath()), QUrl::fromLocalFile("/")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace setup
