#include "app/widgets/option_combo_box.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace velmora::app {

OptionComboBox::OptionComboBox(QWidget* parent) : QComboBox(parent) {
    // A placeholder keeps QComboBox from selecting the first entry of a refilled list by itself.
    setPlaceholderText(QStringLiteral(" "));
    setMaxVisibleItems(12);
    connect(this, &QComboBox::currentIndexChanged, this, &OptionComboBox::follow_index);
}

void OptionComboBox::add_item(const QString& text) {
    addItem(text);
}

void OptionComboBox::clear_items() {
    clear();
}

void OptionComboBox::set_item_index(int index) {
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void OptionComboBox::follow_index(int index) {
    QString text;
    if (index >= 0) {
        text = itemText(index);
    } else if (count() == 0) {
        return;  // the entries were removed: the old text stays on display
    }
    if (text == shown_text_) {
        return;
    }
    shown_text_ = text;
    update();
    emit changed();
}

void OptionComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = shown_text_;
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace velmora::app
