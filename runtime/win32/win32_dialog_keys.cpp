// The keys the form takes as a dialog, and Return on a focused button.
#include "runtime/core/input_rules.h"
#include "win32_form_window.h"

namespace {

// The modifiers held with the key being handled.
HeldModifiers HeldNow() {
    return {.shift = GetKeyState(VK_SHIFT) < 0,
            .control = GetKeyState(VK_CONTROL) < 0,
            .alt = GetKeyState(VK_MENU) < 0};
}

} // namespace

bool Win32FormWindow::HandleDialogMessage(MSG& message) {
    if (window_ == nullptr) return false;
    // Return and keypad Enter click the focused button, as Space does, with
    // the modifiers the rule allows (Ctrl+Alt, AltGr, comes as WM_KEYDOWN). The
    // dialog manager does so only for the default button, which a button
    // becomes when Tab reaches it but not when it is clicked or focused by
    // a program; the form has no default button otherwise.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        IsPushButtonOfForm(message.hwnd)) {
        if (EnterClicksFocusedButton(HeldNow())) SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

bool Win32FormWindow::IsPushButtonOfForm(HWND window) const {
    if (window == nullptr || GetParent(window) != window_) return false;
    const auto found = clickHandlers_.find(GetDlgCtrlID(window));
    return found != clickHandlers_.end();
}
