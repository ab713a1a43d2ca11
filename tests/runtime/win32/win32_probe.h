#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// Looks at and works windows the way an automation tool does: through window
// messages, which also reach the windows of another process.

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
void SetWindowTextOf(HWND window, std::wstring_view text);

// A button is pressed as the mouse would, without waiting for what the
// click starts (a message box, say) to end.
void Click(HWND button);

// A left click, or a turn of the wheel, at a point of the screen, as one
// input: every event of it carries the point. (A SetCursorPos and then a
// button may reach the window in the other order: Wine on a busy machine
// has delivered the button where the pointer was before, the move after.)
void ClickAt(POINT where);
void WheelAt(POINT where, int delta);

// A message box as its user sees it.
struct MessageBoxView {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> buttons; // the captions of its visible buttons
    bool hasIcon = false;
    // The text is in a read-only, scrollable edit control, where it can be
    // selected, rather than in a static control.
    bool textIsInAView = false;
};

// The visible message box owned by the window, or nullptr.
HWND FindMessageBox(HWND owner);
MessageBoxView ReadMessageBox(HWND box);
// Presses the box's OK button; the box closes once its thread has handled it.
void PressOk(HWND box);
// Waits until the window has gone; false when it is still there in time.
bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout);

// Waits for a message box owned by the window; nullptr when none came in time.
HWND WaitForMessageBox(HWND owner, std::chrono::milliseconds timeout);
