#pragma once

#include "form2.h"
#include "form2_description.h"

// Form2 as the program runs it on a backend: the backend's real window built
// from the description, the form instance with its person table, and the
// buttons wired to the form's click handlers. The window type is the
// backend's: it is a FormHost and runs a handler on each click of a button.
template <typename FormWindow> class Form2Program {
public:
    Form2Program() : window_(Form2Description()), form_(window_) {
        for (const ClickHandler& click : Form2ClickHandlers) {
            window_.OnClick(click.control, [this, handler = click.handler] { (form_.*handler)(); });
        }
    }
    Form2Program(const Form2Program&) = delete;
    Form2Program& operator=(const Form2Program&) = delete;

    FormWindow& Window() { return window_; }
    const Form2& Form() const { return form_; }

private:
    FormWindow window_;
    Form2 form_;
};
