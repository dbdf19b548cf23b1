// A read-only one-line box that never takes the keyboard focus; a mouse press on it emits
// pressed() so its owner can give the focus to another control (the output folder box).
#pragma once

#include <QLineEdit>

namespace velmora::app {

class PassFocusLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit PassFocusLineEdit(QWidget* parent = nullptr);

  signals:
    void pressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace velmora::app
