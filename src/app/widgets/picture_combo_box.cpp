#include "app/widgets/picture_combo_box.h"

namespace velmora::app {
namespace {

constexpr int kPictureRole = Qt::UserRole + 1;

}  // namespace

PictureComboBox::PictureComboBox(QWidget* parent) : QComboBox(parent) {
    // A placeholder keeps QComboBox from selecting the first item of a refilled list by itself.
    setPlaceholderText(QStringLiteral(" "));
    setIconSize(QSize(20, 20));
    setMaxVisibleItems(16);
    // Every user choice counts, the item already shown included.
    connect(this, &QComboBox::activated, this, [this](int) { emit changed(); });
}

void PictureComboBox::set_pictures(QList<QIcon> pictures) {
    pictures_ = std::move(pictures);
}

void PictureComboBox::add_item(const QString& caption, int picture_index) {
    const bool known = picture_index >= 0 && picture_index < pictures_.size();
    addItem(known ? pictures_[picture_index] : QIcon(), caption);
    setItemData(count() - 1, known ? picture_index : -1, kPictureRole);
}

void PictureComboBox::clear_items() {
    clear();
}

void PictureComboBox::set_item_index(int index) {
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
    emit changed();
}

int PictureComboBox::item_picture(int index) const {
    const QVariant picture = itemData(index, kPictureRole);
    return picture.isValid() ? picture.toInt() : -1;
}

}  // namespace velmora::app
