#pragma once

#include <windows.h>

#include <string_view>

#include "runtime/core/run_time_error.h"

// A modal box with the prompt, one OK button and no icon, titled with the
// application's title. The owner takes no input until it is dismissed.
void ShowMessageBox(HWND owner, std::u16string_view prompt);

// The box that reports a run-time error: its number and meaning.
void ShowRunTimeErrorBox(HWND owner, const RunTimeError& error);
