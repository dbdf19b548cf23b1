// The desktop services the program asks for: opening addresses and folders, powering off.
#pragma once

#include <QString>
#include <QUrl>

namespace velmora::platform {

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;
    // Opens a web address, a mail link or a local folder with the desktop's default program.
    virtual bool open_url(const QUrl& url) = 0;
    // Asks the session manager to power off, letting other programs close normally.
    virtual bool power_off() = 0;
};

// The real services: QDesktopServices and logind over the system D-Bus.
class SystemDesktopServices final : public DesktopServices {
  public:
    bool open_url(const QUrl& url) override;
    bool power_off() override;
};

}  // namespace velmora::platform
