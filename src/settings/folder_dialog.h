// `bsSkinSelectDirectoryDialog2`: the one folder selection dialog shared by choosing the output
// folder and choosing the snapshot folder.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace velmora::settings {

class FolderDialog {
  public:
    // Shows a modal folder chooser; nullopt when the user cancels.
    using Chooser = std::function<std::optional<QString>(QWidget* parent, const QString& title,
                                                         const QString& start_folder)>;

    // The title every showing carries.
    static inline const QString kTitle = QStringLiteral("选择输出目录");
    // Where the dialog opens before any folder was confirmed: the top of the file system.
    static inline const QString kTopLevel = QStringLiteral("/");

    // The desktop's folder chooser (folders only).
    static Chooser native_chooser();

    explicit FolderDialog(Chooser chooser = native_chooser());

    // Shows the dialog on the folder last confirmed in it (kTopLevel before any); returns the
    // confirmed folder, which is then remembered, or nullopt after a cancel, which remembers
    // nothing.
    std::optional<QString> exec(QWidget* parent);
    // The folder the next showing opens on.
    const QString& start_folder() const { return start_folder_; }

  private:
    Chooser chooser_;
    QString start_folder_ = kTopLevel;
};

}  // namespace velmora::settings
