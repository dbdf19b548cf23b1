// Files and folders dropped onto the job list, or onto the picture panel that covers the list
// while it is empty.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

namespace velmora::app {

// Watches a widget's drops of local files and folders and hands their paths over.
class JobListDrop : public QObject {
    Q_OBJECT
  public:
    // accepting: whether drops are taken now; dropped: receives the paths in drop order.
    // target: the widget the drops land on (a list's viewport, the panel over the list).
    JobListDrop(QWidget& target, std::function<bool()> accepting,
                std::function<void(const QStringList&)> dropped);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool()> accepting_;
    std::function<void(const QStringList&)> dropped_;
};

}  // namespace velmora::app
