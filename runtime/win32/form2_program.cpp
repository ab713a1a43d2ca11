#include "form2_program.h"

#include "window/form2_description.h"

Form2Program::Form2Program() : window_(Form2Description()), form_(window_) {
    for (const ClickHandler& click : Form2ClickHandlers) {
        window_.OnClick(click.control, [this, handler = click.handler] { (form_.*handler)(); });
    }
}
