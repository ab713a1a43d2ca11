#pragma once

#include <QPushButton>

// A command button that Return and keypad Enter press when it has the
// focus, as Space does, with Shift or Ctrl held too but not Alt. It is never a default button:
// Return elsewhere does not press it.
class FormButton final : public QPushButton {
public:
    FormButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
