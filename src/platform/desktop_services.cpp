#include "platform/desktop_services.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFile>

namespace velmora::platform {

bool SystemDesktopServices::open_url(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool SystemDesktopServices::power_off() {
    QDBusInterface login1(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    if (!login1.isValid()) {
        return false;
    }
    // interactive = false: no password prompt; inhibitors of other programs are honoured.
    const QDBusMessage reply = login1.call(QStringLiteral("PowerOff"), false);
    return reply.type() != QDBusMessage::ErrorMessage;
}

bool SystemDesktopServices::play_sound_async(const QString& wav_path) {
    return wav_player_.play_async(QFile::encodeName(wav_path).toStdString());
}

}  // namespace velmora::platform
