// The dialogs of the add commands: one file, several files, a directory. Replaceable, so tests
// answer them without native dialogs.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace velmora::app {

struct AddDialogs {
    // A file chooser with the name filters (the first selected); nullopt when cancelled.
    using OpenFile = std::function<std::optional<QString>(QWidget* parent, const QString& title,
                                                          const QStringList& filters)>;
    // A multi-selection chooser; the files in the dialog's order, nullopt when cancelled.
    using OpenFiles = std::function<std::optional<QStringList>(
        QWidget* parent, const QString& title, const QStringList& filters)>;
    // A directory chooser; nullopt when cancelled.
    using ChooseDirectory =
        std::function<std::optional<QString>(QWidget* parent, const QString& title)>;

    OpenFile open_file;
    OpenFiles open_files;
    ChooseDirectory choose_directory;

    // The desktop's file and directory dialogs; the filters' patterns stay hidden.
    static AddDialogs native();
};

}  // namespace velmora::app
