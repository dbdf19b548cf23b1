// Files and folders dropped onto the job list.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QAbstractItemView;

namespace velmora::app {

// Watches a list view's drops of local files and folders and hands their paths over.
class JobListDrop : public QObject {
    Q_OBJECT
  public:
    // accepting: whether drops are taken now; dropped: receives the paths in drop order.
    JobListDrop(QAbstractItemView& view, std::function<bool()> accepting,
                std::function<void(const QStringList&)> dropped);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool()> accepting_;
    std::function<void(const QStringList&)> dropped_;
};

}  // namespace velmora::app
