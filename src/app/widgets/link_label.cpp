#include "app/widgets/link_label.h"

#include <QEnterEvent>
#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>

namespace velmora::app {
namespace {

constexpr int kGlowRadiusPx = 12;

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setStyleSheet(QStringLiteral("color: #4da3ff;"));
}

void LinkLabel::set_glow(bool on) {
    glowing_ = on;
    if (on) {
        auto* glow = new QGraphicsDropShadowEffect(this);
        glow->setOffset(0, 0);
        glow->setBlurRadius(kGlowRadiusPx);
        glow->setColor(QColor(80, 170, 255));
        setGraphicsEffect(glow);  // the label owns and replaces its effect
        setStyleSheet(QStringLiteral("color: #9ccfff;"));
    } else {
        setGraphicsEffect(nullptr);
        setStyleSheet(QStringLiteral("color: #4da3ff;"));
    }
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    set_glow(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    set_glow(false);
    pressed_ = false;
    QLabel::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

}  // namespace velmora::app
