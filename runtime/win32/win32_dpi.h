#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "window/form_description.h"

// The DPI of the monitor a window is on, read from the system where it can
// say so per window (Windows 10 1607 and later), else the screen's DPI.
// Without a window, the screen's DPI.
int WindowDpi(HWND window);

// The system's sizes at a DPI. Systems before Windows 10 1607 report them
// only at the screen's DPI: they are scaled from there.
int SystemMetricForDpi(int index, int dpi);
// The fonts and sizes of a window's frame; false when the system has none.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi);
// The window rectangle around a client rectangle, with a frame drawn at the DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// The system's message font at a DPI: without it, controls are drawn in the
// bold System font. The caller deletes it.
HFONT CreateMessageFontForDpi(int dpi);

// The program's icon in a window's title bar and the task switcher, drawn
// for the window's DPI rather than stretched from the screen's.
class WindowIcons {
public:
    WindowIcons() = default;
    // The window that shows them has gone by now.
    ~WindowIcons();
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // Gives the window the program's icon at the DPI; where the program has
    // none, the window keeps its class's.
    void ShowAtDpi(HWND window, int dpi);

private:
    HICON big_ = nullptr;
    HICON small_ = nullptr;
};

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
