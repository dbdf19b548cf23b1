// The program's pictures, drawn as SVG and compiled into it.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

namespace velmora::app {

// Resource path of a picture, e.g. picture_path("toolbar/start") is ":/velmora/toolbar/start.svg".
QString picture_path(const QString& name);
// A picture as an icon.
QIcon picture_icon(const QString& name);
// An icon showing name normally and name + "_grey" while its control is disabled.
QIcon picture_icon_with_grey(const QString& name);
// A picture rendered at size_px with a transparent background.
QPixmap picture_pixmap(const QString& name, QSize size_px);

// The category picture list: picture k belongs to category k.
QList<QIcon> category_pictures();
// The format picture list: two pictures, used alternately by format position.
QList<QIcon> format_pictures();

}  // namespace velmora::app
