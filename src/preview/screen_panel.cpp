#include "preview/screen_panel.h"

#include <QFont>
#include <QMetaObject>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>

namespace velmora::preview {

ScreenPanel::ScreenPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Panel6");
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setMinimumSize(200, 124);
}

void ScreenPanel::present(const media::VideoPicture& picture) {
    if (!picture.rgb || picture.width <= 0 || picture.height <= 0) {
        return;
    }
    QImage copy = QImage(picture.rgb, picture.width, picture.height, picture.stride_bytes,
                         QImage::Format_RGB888)
                      .copy();
    {
        std::lock_guard lock(mutex_);
        picture_ = std::move(copy);
    }
    schedule_repaint();
}

void ScreenPanel::clear() {
    {
        std::lock_guard lock(mutex_);
        picture_ = QImage();
    }
    schedule_repaint();
}

bool ScreenPanel::showing_picture() const {
    std::lock_guard lock(mutex_);
    return !picture_.isNull();
}

QImage ScreenPanel::picture() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

void ScreenPanel::schedule_repaint() {
    // Queued so the widget is only touched on its own thread; dropped if it is gone by then.
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

void ScreenPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage shown = picture();
    if (shown.isNull()) {
        paint_logo(painter);
        return;
    }
    // The picture is letterboxed at the display size already; fit it should the panel differ.
    QSize size = shown.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    if (target.size() != shown.size()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter.drawImage(target, shown);
}

void ScreenPanel::paint_logo(QPainter& painter) const {
    // A round emblem with a play mark, and the name under it, centred in the panel.
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::max(16, std::min(width(), height()) / 3);
    const QRect emblem((width() - side) / 2, (height() - side) / 2 - side / 4, side, side);
    painter.setPen(QPen(QColor(0x3c, 0x8d, 0xde), std::max(2, side / 14)));
    painter.setBrush(QColor(0x1b, 0x3a, 0x5c));
    painter.drawEllipse(emblem);
    QPainterPath play;
    const QPointF c = QRectF(emblem).center();
    const qreal r = side * 0.28;
    play.moveTo(c.x() - r * 0.6, c.y() - r);
    play.lineTo(c.x() + r, c.y());
    play.lineTo(c.x() - r * 0.6, c.y() + r);
    play.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xf1, 0xfb));
    painter.drawPath(play);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, side / 4));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x9c, 0xc3, 0xea));
    const QRect caption(0, emblem.bottom() + side / 10, width(), font.pixelSize() * 2);
    painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, "Velmora");
}

}  // namespace velmora::preview
