// Program start: the window, or a command-line mode without one.
#include <QApplication>
#include <QFont>
#include <QSocketNotifier>
#include <cstring>
#include <iostream>
#include <optional>

#include "app/command_line_convert.h"
#include "app/form1.h"
#include "app/form2.h"
#include "app/pictures.h"
#include "media/encoder.h"
#include "media/encoder_backend.h"
#include "media/logger.h"
#include "media/notification_queue.h"
#include "media/worker.h"
#include "platform/app_paths.h"
#include "platform/desktop_services.h"
#include "platform/message_boxes.h"
#include "presets/presets_listing.h"
#include "settings/TForm5.h"
#include "settings/folder_dialog.h"

namespace {

using velmora::app::kProgramTitle;

// The application's help file name; no command opens it.
const QString kHelpFileName = QStringLiteral("help.chm");

// A default font that shows the Chinese texts.
QFont cjk_font() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("Droid Sans Fallback"),
                      QStringLiteral("sans-serif")});
    font.setPointSize(9);
    return font;
}

// The text of --help: one line per mode of the command line.
constexpr const char* kCommandLineHelp =
    "Usage: velmora [option]\n"
    "       velmora [FILE or FOLDER]...\n"
    "Without an option the main window opens; files and folders named are added to its job\n"
    "list as \"添加多个文件\" and \"添加整个目录\" add them.\n"
    "\n"
    "  --list-presets  print every preset, one tab-separated line each: code, category,\n"
    "                  format, extension, the default settings and the six option lists\n"
    "  --help, -h      print this help\n";

// Runs a mode of the command line that needs no window; nothing when the arguments ask for
// the window. The encoder's worker mode is one; modes such as listing the presets or
// converting without a window go here too.
std::optional<int> run_command_line_mode(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], velmora::media::kWorkerSwitch) == 0) {
        // A worker process of the encoder: converts the one task it is sent.
        return velmora::media::worker_main(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--list-presets") == 0) {
        velmora::presets::write_presets_listing(std::cout);
        std::cout.flush();
        return std::cout.good() ? 0 : 1;
    }
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kCommandLineHelp << velmora::app::kConvertHelp;
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], velmora::app::kConvertSwitch) == 0) {
        // Converting without the window.
        return velmora::app::run_convert_command(argc, argv);
    }
    return std::nullopt;
}

// The windowed program: the main window, then the about box and the options dialog.
int run_window(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    app.setProperty("helpFile", kHelpFileName);
    QApplication::setFont(cjk_font());
    QApplication::setWindowIcon(velmora::app::picture_icon(QStringLiteral("logo")));

    const velmora::platform::AppPaths paths =
        velmora::platform::AppPaths::for_executable_dir(QCoreApplication::applicationDirPath());
    velmora::platform::SystemDesktopServices desktop;
    velmora::platform::QtMessageBoxes boxes;
    velmora::settings::FolderDialog folder_dialog;

    // The media objects hand their notifications to this thread through the queue.
    velmora::media::NotificationQueue notifications;
    QSocketNotifier wake(notifications.wake_fd(), QSocketNotifier::Read);
    QObject::connect(&wake, &QSocketNotifier::activated, &app,
                     [&notifications] { notifications.pump(); });
    velmora::media::Encoder encoder(notifications, velmora::media::core_engine_backend());

    // FFmpeg's log lines, of this process and of the workers, go to the diagnostic log.
    velmora::media::Logger logger(notifications);
    encoder.set_logger(&logger);
    logger.capture_this_process(true);

    velmora::app::TForm1 form1(paths, desktop, boxes, folder_dialog, encoder);
    logger.on_line(
        [&form1](const std::string& line) { form1.append_log(QString::fromStdString(line)); });
    // No line reaches the window once it has closed.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&logger] { logger.detach(); });
    velmora::app::TForm2 form2(desktop, &form1);
    velmora::settings::TForm5 form5(form1.ini(), boxes, &form1);
    form1.attach_dialogs(form2, form5);
    form1.show();
    // Files and folders named on the command line ("open with" of the desktop entry).
    QStringList named = QApplication::arguments();
    named.removeFirst();
    if (!named.isEmpty()) {
        form1.add_named_paths(named);
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> exit_code = run_command_line_mode(argc, argv)) {
        return *exit_code;
    }
    return run_window(argc, argv);
}
