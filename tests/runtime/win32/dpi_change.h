#pragma once

#include <windows.h>

// Tells the form that it is now on a monitor of another DPI, as the system
// does, with the rectangle that gives it its client area at that DPI.
void MoveToDpi(HWND form, int dpi);

// The size an icon is drawn for; empty for no icon.
SIZE IconImageSize(HICON icon);
