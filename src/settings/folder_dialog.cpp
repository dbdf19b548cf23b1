#include "settings/folder_dialog.h"

#include <QFileDialog>

#include <utility>

namespace velmora::settings {

FolderDialog::Chooser FolderDialog::native_chooser() {
    return [](QWidget* parent, const QString& title,
              const QString& start_folder) -> std::optional<QString> {
        const QString folder = QFileDialog::getExistingDirectory(parent, title, start_folder,
                                                                 QFileDialog::ShowDirsOnly);
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return folder;
    };
}

FolderDialog::FolderDialog(Chooser chooser) : chooser_(std::move(chooser)) {}

std::optional<QString> FolderDialog::exec(QWidget* parent) {
    auto folder = chooser_(parent, kTitle, start_folder_);
    if (folder) {
        start_folder_ = *folder;
    }
    return folder;
}

}  // namespace velmora::settings
