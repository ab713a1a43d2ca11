#pragma once

#include <windows.h>

#include <string_view>

#include "win32_box_layout.h"

// The system's own message box with one OK button, laid out by the program
// (LayOutMessageBox) before it is shown: as wide as its title needs, the
// text and the button centred, the whole centred on the work area. Ctrl+C
// and Ctrl+Insert copy it, where the system's box does not (Wine's).
// Its font, icon and sizes are at the owner's DPI. Returns once the box has
// been dismissed or its owner destroyed.
void ShowSystemMessageBox(BoxOwner owner, std::wstring_view title, std::wstring_view text,
                          UINT icon);
