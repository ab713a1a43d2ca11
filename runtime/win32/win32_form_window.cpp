#include "win32_form_window.h"

#include "runtime/core/event_handler.h"
#include "win32_dpi.h"
#include "win32_message_box.h"
#include "win32_text.h"

void Win32FormWindow::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
    UpdateWindow(window_);
}

void Win32FormWindow::OnClick(std::string_view button, std::function<void()> handler) {
    constexpr auto isButton = [](ControlKind kind) { return kind == ControlKind::CommandButton; };
    const int id = GetDlgCtrlID(ControlOfKind(button, isButton));
    clickHandlers_[id] = std::move(handler);
}

HWND Win32FormWindow::Control(std::string_view name) const {
    const auto found = controls_.find(name);
    if (found == controls_.end()) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    return found->second;
}

HWND Win32FormWindow::ControlOfKind(std::string_view name, bool (*isWanted)(ControlKind)) const {
    HWND control = Control(name);
    const auto kind = kinds_.find(name);
    if (kind == kinds_.end() || !isWanted(kind->second))
        RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    return control;
}

HWND Win32FormWindow::Input(std::string_view name) const { return ControlOfKind(name, IsInput); }

std::u16string Win32FormWindow::Text(std::string_view control) const {
    return ToU16String(TextOfWindow(Input(control)));
}

void Win32FormWindow::SetText(std::string_view control, std::u16string_view text) {
    HWND child = Input(control);
    const std::wstring wide = ToWide(text);
    SetWindowTextW(child, wide.c_str());
}

void Win32FormWindow::ShowMessage(std::u16string_view prompt) {
    ThrowIfGone();
    ShowMessageBox(window_, prompt);
}

void Win32FormWindow::RunClickHandler(int controlId) {
    const auto found = clickHandlers_.find(controlId);
    if (found == clickHandlers_.end()) return;
    RunEventHandler(found->second, [this](const RunTimeError& error) {
        ThrowIfGone();
        ShowRunTimeErrorBox(window_, error);
    });
}

LRESULT CALLBACK Win32FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32FormWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefDlgProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefDlgProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Only the buttons' clicks have handlers. Enter and Escape arrive
        // with ids no control has, and do nothing.
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) RunClickHandler(LOWORD(wParam));
        comboTypedText_.Notified(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        // A dialog would turn this into Escape's command: the form closes.
        // It comes from the title bar, Alt+F4 or taskkill; while a box is
        // open the form is disabled, so only another program sends it then,
        // and a running handler is abandoned at its next box.
        DestroyWindow(window_);
        return 0;
    case WM_ENDSESSION:
        // The session is ending: the form goes as if closed, and the
        // process may be ended as soon as this returns.
        if (wParam != FALSE) DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        if (quitWhenClosed_) PostQuitMessage(0);
        break;
    case WM_DPICHANGED: {
        // The window is now on a monitor of another DPI: it is laid out
        // again there, at the rectangle the system suggests.
        dpi_ = LOWORD(wParam);
        HFONT previous = font_;
        font_ = LayOutAtDpi({window_, description_, controls_, dpi_},
                            *reinterpret_cast<const RECT*>(lParam));
        DeleteObject(previous);
        return 0;
    }
    default: break;
    }
    return DefDlgProcW(window_, message, wParam, lParam);
}
