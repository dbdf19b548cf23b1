#include "app/widgets/pass_focus_line_edit.h"

#include <QMouseEvent>

namespace velmora::app {

PassFocusLineEdit::PassFocusLineEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
}

void PassFocusLineEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    emit pressed();
}

}  // namespace velmora::app
