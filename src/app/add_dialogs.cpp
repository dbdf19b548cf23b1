#include "app/add_dialogs.h"

#include <QFileDialog>

namespace velmora::app {
namespace {

// A file dialog on the filters, the first one selected, patterns hidden.
std::optional<QStringList> run_file_dialog(QWidget* parent, const QString& title,
                                           const QStringList& filters, QFileDialog::FileMode mode) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(mode);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.first());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles();
}

}  // namespace

AddDialogs AddDialogs::native() {
    AddDialogs dialogs;
    dialogs.open_file = [](QWidget* parent, const QString& title,
                           const QStringList& filters) -> std::optional<QString> {
        const auto files = run_file_dialog(parent, title, filters, QFileDialog::ExistingFile);
        if (!files) {
            return std::nullopt;
        }
        return files->first();
    };
    dialogs.open_files = [](QWidget* parent, const QString& title, const QStringList& filters) {
        return run_file_dialog(parent, title, filters, QFileDialog::ExistingFiles);
    };
    dialogs.choose_directory = [](QWidget* parent, const QString& title) -> std::optional<QString> {
        const QString folder =
            QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        return folder;
    };
    return dialogs;
}

}  // namespace velmora::app
