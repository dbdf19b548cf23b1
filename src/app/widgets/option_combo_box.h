// A drop-down list of option entries (the six preset option lists) that keeps the text it
// shows apart from its items.
//
// Change event rules, relied on by the preset handling:
// - changed() is emitted exactly when the shown text changes, whatever changed it: the user
//   choosing an entry, set_item_index() in code, or a removal that moves the selection;
// - selecting an entry whose text equals the shown text emits nothing, even when its position
//   differs;
// - clear_items() keeps the shown text on display and emits nothing; add_item() selects
//   nothing and emits nothing, so after clearing and refilling the old text is still shown
//   (item_index() is -1) until an index is set;
// - set_item_index(-1) on a list that holds entries blanks the shown text (changed() when it
//   was not blank); on an empty list it changes nothing.
// Each emission happens synchronously inside the call that changed the text.
#pragma once

#include <QComboBox>
#include <QString>

namespace velmora::app {

class OptionComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit OptionComboBox(QWidget* parent = nullptr);

    // Appends an entry; selects nothing.
    void add_item(const QString& text);
    // Removes every entry; the shown text stays.
    void clear_items();
    // Selects entry index (-1: none); emits changed() when the shown text changes.
    void set_item_index(int index);
    int item_index() const { return currentIndex(); }
    int item_count() const { return count(); }
    QString item_text(int index) const { return itemText(index); }
    // The text on display.
    QString shown_text() const { return shown_text_; }

  signals:
    // The change event: see the rules above.
    void changed();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void follow_index(int index);

    QString shown_text_;
};

}  // namespace velmora::app
