#include "qt_push_button.h"

#include <QKeyEvent>

namespace {

bool IsEnter(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Return && event.modifiers() == Qt::NoModifier) ||
           // Only the keypad has Enter; the Wayland plug-in leaves out KeypadModifier.
           (event.key() == Qt::Key_Enter && (event.modifiers() & ~Qt::KeypadModifier) == 0);
}

} // namespace

FormButton::FormButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void FormButton::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(*event)) return QPushButton::keyPressEvent(event);
    event->accept();
    click();
}
