// A one-line editor that reports when the keyboard focus leaves it for another control of the
// window (the in-place output-name editor). Opening a pop-up (its own context menu) or
// switching to another window does not count: the focus comes back to it afterwards.
#pragma once

#include <QLineEdit>

namespace velmora::app {

class ExitLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit ExitLineEdit(QWidget* parent = nullptr);

  signals:
    // The focus moved to another control of the window.
    void exited();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace velmora::app
