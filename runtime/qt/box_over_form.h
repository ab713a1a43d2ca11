#pragma once

class QWidget;

// While a message box is open over its form, the form cannot take the
// keyboard. When it is activated all the same (a click on it while the box
// is open, where the window system lets the click focus and raise it, as
// Wayland compositors do), the box is activated again, so it comes back
// above the form with the keyboard. Lasts as long as the box.
void KeepBoxOverForm(QWidget& box, const QWidget& form);
