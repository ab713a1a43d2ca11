#include "qt_push_button.h"

#include <QKeyEvent>

#include "runtime/core/input_rules.h"

namespace {

// Return, or Enter on the keypad, with modifiers that let it click.
bool IsEnter(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return EnterClicksFocusedButton(
        {.shift = modifiers.testFlag(Qt::ShiftModifier),
         .control = modifiers.testFlag(Qt::ControlModifier),
         .alt = modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier)});
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
