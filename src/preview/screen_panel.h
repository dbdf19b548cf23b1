// The black screen of the preview pane (Panel6): shows the player's pictures, and a centred
// logo while nothing plays.
#pragma once

#include <QImage>
#include <QWidget>

#include <mutex>

#include "media/player_types.h"

class QPainter;

namespace velmora::preview {

class ScreenPanel : public QWidget, public media::VideoSink {
    Q_OBJECT

  public:
    explicit ScreenPanel(QWidget* parent = nullptr);

    // Takes a copy of the picture from the player's thread and repaints on the UI thread.
    void present(const media::VideoPicture& picture) override;
    // Drops the picture so the logo shows again; from any thread.
    void clear() override;

    // Whether a picture (not the logo) is shown, and a copy of it.
    bool showing_picture() const;
    QImage picture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void schedule_repaint();
    void paint_logo(QPainter& painter) const;

    mutable std::mutex mutex_;
    QImage picture_;
};

}  // namespace velmora::preview
