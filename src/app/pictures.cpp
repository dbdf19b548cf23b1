#include "app/pictures.h"

#include <QPainter>
#include <QSvgRenderer>
#include <array>

#include "presets/catalogue.h"

// Registers the pictures compiled into this static library (must stand outside any namespace).
static void register_picture_resources() {
    Q_INIT_RESOURCE(velmora_app);
}

namespace velmora::app {

QString picture_path(const QString& name) {
    static const bool registered = (register_picture_resources(), true);
    (void)registered;
    return QStringLiteral(":/velmora/") + name + QStringLiteral(".svg");
}

QIcon picture_icon(const QString& name) {
    return QIcon(picture_path(name));
}

QIcon picture_icon_with_grey(const QString& name) {
    QIcon icon;
    icon.addFile(picture_path(name), QSize(), QIcon::Normal);
    icon.addFile(picture_path(name), QSize(), QIcon::Active);
    icon.addFile(picture_path(name + QStringLiteral("_grey")), QSize(), QIcon::Disabled);
    return icon;
}

QPixmap picture_pixmap(const QString& name, QSize size_px) {
    QPixmap pixmap(size_px);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(picture_path(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QList<QIcon> category_pictures() {
    // One glyph per category, in category order.
    static constexpr std::array<const char*, presets::kCategoryCount> kGlyphs = {
        "video",   "audio",   "hd",      "player",  "phone",   "game",    "tag_3gp",
        "tag_mov", "game",    "player",  "tag_mp4", "tag_flv", "tablet",  "tag_mpg",
        "tag_swf", "tag_avi", "tag_mkv", "tag_wmv", "tag_asf", "android", "disc",
        "camera",  "camera",  "tag_rm",  "phone",   "tablet",  "tv",      "box"};
    QList<QIcon> pictures;
    for (const char* glyph : kGlyphs) {
        pictures.append(picture_icon(QStringLiteral("categories/") + QLatin1String(glyph)));
    }
    return pictures;
}

QList<QIcon> format_pictures() {
    return {picture_icon(QStringLiteral("formats/format_a")),
            picture_icon(QStringLiteral("formats/format_b"))};
}

}  // namespace velmora::app
