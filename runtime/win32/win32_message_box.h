#pragma once

#include <windows.h>

#include <string_view>

#include "runtime/core/run_time_error.h"

// A modal box with the prompt, one OK button and no icon, titled with the
// application's title. The owner takes no input until it is dismissed. A
// prompt whose message box would not fit the work area is shown whole in
// the program's own box with a scrollable view (win32_text_view_box.h).
// The box is laid out at the DPI the owner is laid out at (its fonts, icon
// and sizes, and so the room a prompt may take there); without one, at the
// DPI the system reports for the owner.
void ShowMessageBox(HWND owner, int dpi, std::u16string_view prompt);
void ShowMessageBox(HWND owner, std::u16string_view prompt);

// The box that reports a run-time error: its number and meaning.
void ShowRunTimeErrorBox(HWND owner, int dpi, const RunTimeError& error);
void ShowRunTimeErrorBox(HWND owner, const RunTimeError& error);
