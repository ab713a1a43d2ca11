#pragma once

#include <windows.h>

#include <string>

// What the Windows program shows at this moment, read from another process
// through window messages and the accessibility interface, as one line of
// JSON for the user-action drivers (tests/program/user_actions.py says what
// each field means). Places are in the screen's pixels.
struct FormWindows {
    HWND form = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
};

std::string FormStateJson(const FormWindows& windows);
