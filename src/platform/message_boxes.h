// Message boxes shown to the user, behind a seam so tests can record them instead.
#pragma once

#include <QString>

class QWidget;

namespace velmora::platform {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Information box with one OK button (title "提示" for commands lacking what they need).
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
    // Warning box with one OK button (a failed conversion task).
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // Error box with one OK button (a settings write that failed).
    virtual void error(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Real modal boxes.
class QtMessageBoxes final : public MessageBoxes {
  public:
    void information(QWidget* parent, const QString& title, const QString& text) override;
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    void error(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace velmora::platform
