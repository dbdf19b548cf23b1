#include "platform/message_boxes.h"

#include <QMessageBox>

namespace velmora::platform {

void QtMessageBoxes::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void QtMessageBoxes::warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void QtMessageBoxes::error(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

}  // namespace velmora::platform
