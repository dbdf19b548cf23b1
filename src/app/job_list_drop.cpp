#include "app/job_list_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace velmora::app {
namespace {

QStringList local_paths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}

}  // namespace

JobListDrop::JobListDrop(QWidget& target, std::function<bool()> accepting,
                         std::function<void(const QStringList&)> dropped)
    : QObject(&target), accepting_(std::move(accepting)), dropped_(std::move(dropped)) {
    target.setAcceptDrops(true);
    target.installEventFilter(this);
}

bool JobListDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (accepting_() && !local_paths(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = local_paths(drop->mimeData());
            if (!accepting_() || paths.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            dropped_(paths);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace velmora::app
