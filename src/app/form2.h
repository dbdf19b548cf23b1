// The about box `TForm2`: name, version, logo and the two links of the product.
#pragma once

#include <QDialog>

#include "platform/desktop_services.h"

class QPushButton;

namespace velmora::app {

class LinkLabel;

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidthPx = 406;
    static constexpr int kHeightPx = 281;

    TForm2(platform::DesktopServices& desktop, QWidget* parent = nullptr);

    LinkLabel* web_link() const { return web_link_; }
    LinkLabel* mail_link() const { return mail_link_; }

  private:
    // Opens the web site shown by the link.
    void WebLinkClick();
    // Opens a new mail to the support mailbox shown by the link.
    void MailLinkClick();

    platform::DesktopServices& desktop_;
    LinkLabel* web_link_ = nullptr;
    LinkLabel* mail_link_ = nullptr;
};

}  // namespace velmora::app
