#include "app/form2.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/pictures.h"
#include "app/widgets/link_label.h"

namespace velmora::app {
namespace {

constexpr QSize kLogoSizePx(117, 115);

}  // namespace

TForm2::TForm2(platform::DesktopServices& desktop, QWidget* parent)
    : QDialog(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("关于软件"));
    // A caption bar without buttons; "确定" closes the box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kWidthPx, kHeightPx);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setPixmap(picture_pixmap(QStringLiteral("logo"), kLogoSizePx));
    logo->setFixedSize(kLogoSizePx);
    logo->setAttribute(Qt::WA_TranslucentBackground);

    auto* name = new QLabel(QStringLiteral("Velmora视频格式转换器"), this);
    name->setObjectName(QStringLiteral("productName"));
    QFont name_font = name->font();
    name_font.setPointSizeF(name_font.pointSizeF() * 1.45);
    name_font.setBold(true);
    name->setFont(name_font);

    auto* version = new QLabel(QStringLiteral("Ver:") + QStringLiteral(VELMORA_VERSION), this);
    version->setObjectName(QStringLiteral("productVersion"));

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    web_link_ = new LinkLabel(QStringLiteral(VELMORA_WEBSITE), this);
    web_link_->setObjectName(QStringLiteral("webLink"));
    mail_link_ = new LinkLabel(QStringLiteral(VELMORA_MAILBOX), this);
    mail_link_->setObjectName(QStringLiteral("mailLink"));
    connect(web_link_, &LinkLabel::clicked, this, &TForm2::WebLinkClick);
    connect(mail_link_, &LinkLabel::clicked, this, &TForm2::MailLinkClick);

    auto* links = new QGridLayout;
    links->setHorizontalSpacing(6);
    links->setVerticalSpacing(10);
    links->addWidget(new QLabel(QStringLiteral("官方网站："), this), 0, 0);
    links->addWidget(web_link_, 0, 1);
    links->addWidget(new QLabel(QStringLiteral("E-MAIL："), this), 1, 0);
    links->addWidget(mail_link_, 1, 1);
    links->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(rule);
    text->addSpacing(8);
    text->addLayout(links);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("bsSkinButton1"));
    ok->setDefault(true);
    ok->setMinimumWidth(88);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 26, 18, 16);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

void TForm2::WebLinkClick() {
    desktop_.open_url(QUrl(QStringLiteral(VELMORA_WEBSITE)));
}

void TForm2::MailLinkClick() {
    desktop_.open_url(QUrl(QStringLiteral("mailto:") + QStringLiteral(VELMORA_MAILBOX)));
}

}  // namespace velmora::app
