// The desktop services the program asks for: opening addresses and folders, powering off,
// playing the notification sound.
#pragma once

#include <QString>
#include <QUrl>

#include "platform/wav_player.h"

namespace velmora::platform {

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;
    // Opens a web address, a mail link or a local folder with the desktop's default program.
    virtual bool open_url(const QUrl& url) = 0;
    // Asks the session manager to power off, letting other programs close normally.
    virtual bool power_off() = 0;
    // Starts playing a WAV file and returns at once; false when it cannot be played.
    virtual bool play_sound_async(const QString& wav_path) = 0;
};

// The real services: QDesktopServices, logind over the system D-Bus and SDL's audio output.
class SystemDesktopServices final : public DesktopServices {
  public:
    bool open_url(const QUrl& url) override;
    bool power_off() override;
    bool play_sound_async(const QString& wav_path) override;

  private:
    WavPlayer wav_player_;
};

}  // namespace velmora::platform
