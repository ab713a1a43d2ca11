#pragma once

#include <exception>
#include <functional>

#include "run_time_error.h"

// Runs one event handler, and only one at a time: a click that reaches a
// button while a handler runs (through an automation tool or a screen
// reader, which can press a button behind a modal box) is ignored, not
// queued, so the table never changes under a running handler. Returns
// whether the handler ran.
//
// A run-time error the handler raises abandons it and is shown through
// reportError, inside the same turn, so no other handler starts while the
// error box is open; the program then goes on with its message loop and the
// people already entered are kept. Running out of memory is reported as
// error 7. A handler abandoned because its form is gone ends quietly.
bool RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const RunTimeError&)>& reportError);

// Raised by a backend where a handler waits on its form (a message box) when
// the form has been destroyed or the program is quitting: the rest of the
// handler is abandoned without a further box and without an error box.
class FormGone : public std::exception {
public:
    const char* what() const noexcept override { return "the form is gone"; }
};
