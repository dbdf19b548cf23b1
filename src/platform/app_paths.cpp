#include "platform/app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace velmora::platform {
namespace {

QString default_root() {
    return QDir::homePath() + QDir::separator() + QStringLiteral("Velmora视频软件");
}

bool is_writable_dir(const QString& dir) {
    return ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
}

}  // namespace

AppPaths AppPaths::for_executable_dir(const QString& exe_dir) {
    AppPaths paths;
    const QString sep = QDir::separator();
    const QString root = default_root();
    paths.default_output_folder = root + sep + QStringLiteral("输出");
    paths.default_snapshot_folder = root + sep + QStringLiteral("快照");
    // A build or unpacked copy has its "LibAV" folder beside the executable; an installed copy
    // has it in the install's data folder and must not write into the program's folder.
    const bool portable_copy =
        QFileInfo(exe_dir + sep + QStringLiteral("LibAV")).isDir() && is_writable_dir(exe_dir);
    if (portable_copy) {
        paths.settings_file = exe_dir + sep + QStringLiteral("option.ini");
        paths.data_dir = exe_dir;
        return paths;
    }
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        config = QDir::homePath() + sep + QStringLiteral(".config");
    }
    const QString folder = config + sep + QStringLiteral("velmora");
    QDir().mkpath(folder);
    paths.settings_file = folder + sep + QStringLiteral("option.ini");
    const QString installed_data = QStringLiteral(VELMORA_INSTALL_DATADIR);
    paths.data_dir = QFileInfo(installed_data).isDir() ? installed_data : exe_dir;
    return paths;
}

AppPaths AppPaths::inside(const QString& folder) {
    const QString sep = QDir::separator();
    AppPaths paths;
    paths.settings_file = folder + sep + QStringLiteral("option.ini");
    paths.data_dir = folder;
    paths.default_output_folder =
        folder + sep + QStringLiteral("Velmora视频软件") + sep + QStringLiteral("输出");
    paths.default_snapshot_folder =
        folder + sep + QStringLiteral("Velmora视频软件") + sep + QStringLiteral("快照");
    return paths;
}

}  // namespace velmora::platform
