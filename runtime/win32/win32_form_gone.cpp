// The form going away while a handler runs: no box opens over a form that
// is closing or a thread that is quitting.
#include "runtime/core/event_handler.h"
#include "win32_form_window.h"

namespace {

// A WM_QUIT that reaches a message box's own loop ends the box and is posted
// again for the thread's loop, so it waits in the queue.
bool QuitIsPending() {
    MSG message{};
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// taskkill (without /F) posts WM_CLOSE to each of the program's windows, the
// open box first: that closes the box, and the form's own WM_CLOSE is still
// waiting in the queue when the handler comes to its next box.
bool CloseIsPending(HWND form) {
    MSG message{};
    return PeekMessageW(&message, form, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

} // namespace

void Win32FormWindow::ThrowIfGone() const {
    // Without this, a box would open without an owner, or open and end at
    // once on the waiting WM_QUIT, once for every report still to come. A
    // waiting WM_CLOSE destroys the form once the handler has gone.
    if (window_ == nullptr || QuitIsPending() || CloseIsPending(window_)) throw FormGone();
}
