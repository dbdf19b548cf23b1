// A combo box whose items carry a picture from a picture list and a caption (the category and
// format selectors).
//
// Change event rules, relied on by the preset handling:
// - set_item_index() ALWAYS emits changed(), also when the index does not change, and also
//   for an index outside the list (the box then shows nothing selected);
// - the user choosing an item from the drop-down, stepping with the keys or the wheel emits
//   changed(), also when the chosen item is the one already shown;
// - clear_items() and add_item() emit nothing and select nothing: after clearing and refilling,
//   item_index() is -1 until an index is set.
#pragma once

#include <QComboBox>
#include <QIcon>
#include <QList>

namespace velmora::app {

class PictureComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit PictureComboBox(QWidget* parent = nullptr);

    // The picture list the items take their pictures from.
    void set_pictures(QList<QIcon> pictures);
    // Appends an item showing picture picture_index of the list (no picture when outside it).
    void add_item(const QString& caption, int picture_index);
    // Removes every item; emits nothing.
    void clear_items();
    // Selects item index (-1 or outside the list: nothing selected) and emits changed().
    void set_item_index(int index);
    int item_index() const { return currentIndex(); }
    int item_count() const { return count(); }
    QString item_caption(int index) const { return itemText(index); }
    // Picture list position of item index, or -1.
    int item_picture(int index) const;

  signals:
    // The change event: see the rules above.
    void changed();

  private:
    QList<QIcon> pictures_;
};

}  // namespace velmora::app
