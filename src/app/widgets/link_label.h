// A label that acts as a link: underlined, centred text, a hand cursor, a glow while the mouse
// is over it; a left click emits clicked() (the owner decides what to open).
#pragma once

#include <QLabel>

namespace velmora::app {

class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Whether the glow is on (the mouse is over the label).
    bool glowing() const { return glowing_; }

  signals:
    void clicked();

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void set_glow(bool on);

    bool glowing_ = false;
    bool pressed_ = false;
};

}  // namespace velmora::app
