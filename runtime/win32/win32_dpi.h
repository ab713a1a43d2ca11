#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "window/form_description.h"

// The DPI of the monitor a window is on, read from the system where it can
// say so per window (Windows 10 1607 and later), else the screen's DPI.
int WindowDpi(HWND window);

// The system's message font at a DPI: without it, controls are drawn in the
// bold System font. The caller deletes it.
HFONT CreateMessageFontForDpi(int dpi);

// What a form shows at one DPI.
struct FormAtDpi {
    HWND window;
    const FormDescription& description;
    const std::map<std::string, HWND, std::less<>>& controls;
    int dpi;
};

// Lays a form out again at a new DPI, as the system asks with WM_DPICHANGED:
// the window takes the suggested rectangle, every control its rectangle at
// the new DPI and the new font. Texts, selections, the focus and an open
// combo list stay as they were. Returns the new font; the caller deletes
// the old one once this returns.
HFONT LayOutAtDpi(const FormAtDpi& form, const RECT& suggested);
