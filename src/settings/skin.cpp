#include "settings/skin.h"

#include <QFile>
#include <QWidget>

#include <utility>

// Registers the compiled-in skins of this static library (must stand outside any namespace).
static void register_skin_resources() {
    Q_INIT_RESOURCE(skins);
}

namespace velmora::settings {
namespace {

// Reads a compiled-in style sheet; empty when the resource is missing.
QString read_resource_text(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

SkinData::SkinData(QStringList resource_paths) : resource_paths_(std::move(resource_paths)) {
    static const bool registered = (register_skin_resources(), true);
    (void)registered;
}

SkinData SkinData::main_skins() {
    return SkinData({QStringLiteral(":/skins/office2010_black.qss")});
}

SkinData SkinData::second_skins() {
    SkinData skins({QStringLiteral(":/skins/ios4.qss")});
    skins.set_skin_index(0);
    return skins;
}

bool SkinData::set_skin_index(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    QString sheet = read_resource_text(resource_paths_.at(index));
    if (sheet.isEmpty()) {
        return false;
    }
    index_ = index;
    style_sheet_ = std::move(sheet);
    return true;
}

void SkinData::apply_to(QWidget& w) const {
    if (loaded()) {
        w.setStyleSheet(style_sheet_);
    }
}

}  // namespace velmora::settings
