#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "runtime/core/form_host.h"
#include "runtime/win32/win32_input_rules.h"
#include "window/form_description.h"

// A real Win32 window built from a form description: one child window per
// control, named after it, placed at its rectangle scaled by the screen's
// DPI, in Tab order by TabIndex. It behaves as a dialog: Tab and Shift+Tab
// move the focus, and the focus comes back to the same control when the
// window is activated again.
//
// Its parts: win32_form_build.cpp builds the window and its controls,
// win32_dialog_keys.cpp takes the keys of a dialog, win32_form_gone.cpp
// sees that no box opens over a form that is going away, and
// win32_form_window.cpp holds the rest (texts, clicks, its messages).
class Win32FormWindow final : public FormHost {
public:
    // Creates the window and its controls, hidden.
    explicit Win32FormWindow(const FormDescription& description);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    // Shows the window with the focus in the first control in Tab order.
    void Show(int showCommand);

    // Runs the handler on each click of the named button; a run-time error
    // it raises is shown in the error box and the window carries on.
    void OnClick(std::string_view button, std::function<void()> handler);

    // Closing the window ends the thread's message loop.
    void QuitWhenClosed() { quitWhenClosed_ = true; }

    // Gives the window the keys it handles as a dialog (Tab, Enter, Escape,
    // Return on a button); true when the message was used up and must not
    // be dispatched.
    bool HandleDialogMessage(MSG& message);

    HWND Handle() const { return window_; }
    // The child window of the named control; raises error 424 when there is none.
    HWND Control(std::string_view name) const;
    int Dpi() const { return dpi_; }

    std::u16string Text(std::string_view control) const override;
    void SetText(std::string_view control, std::u16string_view text) override;
    // Throws FormGone, showing nothing, once the window has been destroyed
    // or the thread is quitting.
    void ShowMessage(std::u16string_view prompt) override;

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(const FormDescription& description);
    HWND CreateControl(const FormDescription& description, const ControlDescription& control);
    void RunClickHandler(int controlId);
    // Throws FormGone when no box may be shown over the form any more.
    void ThrowIfGone() const;
    // Whether the window is one of the form's buttons with a click handler.
    bool IsPushButtonOfForm(HWND window) const;
    // The child window of a control of a wanted kind; raises error 424 for any other.
    HWND ControlOfKind(std::string_view name, bool (*isWanted)(ControlKind)) const;
    // The child window of a text box or combo box.
    HWND Input(std::string_view name) const;

    FormDescription description_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool quitWhenClosed_ = false;
    std::map<std::string, HWND, std::less<>> controls_;
    std::map<std::string, ControlKind, std::less<>> kinds_;
    std::map<int, std::function<void()>> clickHandlers_;
    ComboTypedText comboTypedText_;
};
