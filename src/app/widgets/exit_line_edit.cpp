#include "app/widgets/exit_line_edit.h"

#include <QFocusEvent>

namespace velmora::app {

ExitLineEdit::ExitLineEdit(QWidget* parent) : QLineEdit(parent) {}

void ExitLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
        return;
    }
    emit exited();
}

}  // namespace velmora::app
