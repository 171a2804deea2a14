#include "platform/FolderChooser.h"

#include <QFileDialog>
#include <QWidget>

namespace setup {

std::optional<std::filesystem::path> DialogFolderChooser::Choose(WindowHandle owner) {
    const QString folder = QFileDialog::getExistingDirectory(
        QWidget::find(static_cast<WId>(owner)), QString(), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return std::filesystem::path(folder.toStdString());
}

}  // namespace setup
