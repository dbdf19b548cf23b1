// A main window built on fakes inside a temporary folder: no browser, no message box, no
// folder dialog and no real option.ini are ever touched.
#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

#include "app/form1.h"
#include "media/encoder.h"
#include "media/notification_queue.h"
#include "platform/app_paths.h"
#include "platform/desktop_services.h"
#include "platform/message_boxes.h"
#include "settings/folder_dialog.h"
#include "support/temp_dir.h"

namespace velmora::testing {

class FakeDesktop final : public platform::DesktopServices {
  public:
    bool open_url(const QUrl& url) override {
        opened.append(url);
        return true;
    }
    bool power_off() override {
        ++power_offs;
        return true;
    }
    bool play_sound_async(const QString& wav_path) override {
        sounds.append(wav_path);
        return true;
    }
    QList<QUrl> opened;
    int power_offs = 0;
    QStringList sounds;
};

class FakeBoxes final : public platform::MessageBoxes {
  public:
    void information(QWidget*, const QString& title, const QString& text) override {
        shown << "information|" + title + "|" + text;
    }
    void warning(QWidget*, const QString& title, const QString& text) override {
        shown << "warning|" + title + "|" + text;
    }
    void error(QWidget*, const QString& title, const QString& text) override {
        shown << "error|" + title + "|" + text;
    }
    QStringList shown;
};

// The folder chooser's scripted answers, first in first out: a folder, or a null text for a
// cancel; a cancel when none is left.
struct ScriptedChooser {
    std::optional<QString> next() {
        if (answers.isEmpty()) {
            return std::nullopt;
        }
        const QString answer = answers.takeFirst();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }
    QStringList answers;
    QStringList start_folders;
};

struct AppHarness {
    // settings_file: option.ini's path inside the folder ("" keeps the default one).
    // backend: what the encoder converts with (nothing by default); its tasks run on threads.
    explicit AppHarness(const QString& settings_file = {}, media::EngineBackend backend = {})
        : paths(platform::AppPaths::inside(QString::fromStdString(dir.path().string()))),
          folder_dialog([this](QWidget*, const QString&, const QString& start) {
              chooser.start_folders << start;
              return chooser.next();
          }),
          encoder(queue, std::move(backend)) {
        encoder.set_worker_mode(media::WorkerMode::thread);
        if (!settings_file.isEmpty()) {
            paths.settings_file = settings_file;
        }
    }

    app::TForm1& open() {
        form = std::make_unique<app::TForm1>(paths, desktop, boxes, folder_dialog, encoder);
        return *form;
    }

    QString folder() const { return QString::fromStdString(dir.path().string()); }

    TempDir dir;
    platform::AppPaths paths;
    FakeDesktop desktop;
    FakeBoxes boxes;
    ScriptedChooser chooser;
    settings::FolderDialog folder_dialog;
    media::NotificationQueue queue;
    media::Encoder encoder;
    std::unique_ptr<app::TForm1> form;
};

}  // namespace velmora::testing
