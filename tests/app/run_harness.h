// A main window on the real conversion engine, inside a temporary folder: worker processes of
// the built program, notifications pumped by the event loop as the program does, fake desktop
// services and message boxes, and the add commands' dialogs answered from scripts.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QStringList>

#include <memory>
#include <optional>

#include "app/add_dialogs.h"
#include "app/form1.h"
#include "app/form2.h"
#include "app_harness.h"
#include "jobs/job_list_view.h"
#include "media/encoder.h"
#include "media/encoder_backend.h"
#include "media/notification_queue.h"
#include "media/worker.h"
#include "settings/TForm5.h"
#include "settings/folder_dialog.h"
#include "support/temp_dir.h"

namespace velmora::testing {

// Answers of the add commands' dialogs, first in first out; a cancel when none is left.
struct ScriptedAddDialogs {
    QList<std::optional<QStringList>> file_answers;  // open_file uses the first file
    QList<std::optional<QString>> folder_answers;
    QStringList titles;
    QList<QStringList> filters;

    app::AddDialogs dialogs() {
        app::AddDialogs d;
        d.open_file = [this](QWidget*, const QString& title,
                             const QStringList& f) -> std::optional<QString> {
            titles << title;
            filters << f;
            const auto files = next_files();
            if (!files || files->isEmpty()) {
                return std::nullopt;
            }
            return files->first();
        };
        d.open_files = [this](QWidget*, const QString& title, const QStringList& f) {
            titles << title;
            filters << f;
            return next_files();
        };
        d.choose_directory = [this](QWidget*, const QString& title) -> std::optional<QString> {
            titles << title;
            if (folder_answers.isEmpty()) {
                return std::nullopt;
            }
            return folder_answers.takeFirst();
        };
        return d;
    }
    std::optional<QStringList> next_files() {
        if (file_answers.isEmpty()) {
            return std::nullopt;
        }
        return file_answers.takeFirst();
    }
};

struct EngineWindow {
    EngineWindow()
        : paths(platform::AppPaths::inside(QString::fromStdString(dir.path().string()))),
          folder_dialog([](QWidget*, const QString&, const QString&) { return std::nullopt; }),
          encoder(queue, media::core_engine_backend(),
                  media::WorkerCommand{VELMORA_EXECUTABLE, {media::kWorkerSwitch}}),
          wake(queue.wake_fd(), QSocketNotifier::Read) {
        QObject::connect(&wake, &QSocketNotifier::activated, [this] { queue.pump(); });
        QDir().mkpath(folder() + "/LibAV");
        QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/LibAV/libx264-default.ffpreset"),
                    folder() + "/LibAV/libx264-default.ffpreset");
        form = std::make_unique<app::TForm1>(paths, desktop, boxes, folder_dialog, encoder);
        about = std::make_unique<app::TForm2>(desktop, form.get());
        options = std::make_unique<settings::TForm5>(form->ini(), boxes, form.get());
        form->attach_dialogs(*about, *options);
        form->set_add_dialogs(answers.dialogs());
    }
    ~EngineWindow() {
        options.reset();
        about.reset();
        form.reset();
    }

    QString folder() const { return QString::fromStdString(dir.path().string()); }
    QString output_folder() const { return form->FileOutPutPath(); }
    jobs::JobListView& list() const { return *form->lvFiles(); }
    QString cell(int row, jobs::JobColumn column) const { return list().cell(row, column); }

    // Chooses a radio button of the options dialog by its caption.
    void choose(const QString& caption) {
        for (QRadioButton* radio : options->findChildren<QRadioButton*>()) {
            if (radio->text() == caption) {
                radio->setChecked(true);
                return;
            }
        }
        qFatal("no radio button %s", qPrintable(caption));
    }
    void set_thread_count(int count) {
        options->findChild<QComboBox*>()->setCurrentIndex(count - 1);
    }

    TempDir dir;
    platform::AppPaths paths;
    FakeDesktop desktop;
    FakeBoxes boxes;
    settings::FolderDialog folder_dialog;
    ScriptedAddDialogs answers;
    media::NotificationQueue queue;
    media::Encoder encoder;
    QSocketNotifier wake;
    std::unique_ptr<app::TForm1> form;
    std::unique_ptr<app::TForm2> about;
    std::unique_ptr<settings::TForm5> options;
};

}  // namespace velmora::testing
