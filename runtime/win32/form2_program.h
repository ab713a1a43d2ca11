#pragma once

#include "win32_form_window.h"
#include "window/form2.h"

// Form2 as the program runs it: the real window, the form instance with its
// person table, and the buttons wired to the form's click handlers.
class Form2Program {
public:
    Form2Program();

    Win32FormWindow& Window() { return window_; }
    const Form2& Form() const { return form_; }

private:
    Win32FormWindow window_;
    Form2 form_;
};
