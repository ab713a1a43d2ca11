#pragma once

#include <windows.h>

// How the form's inputs take what the user pastes and scrolls, the same on
// every version of Windows and under Wine.

// A one-line edit (a text box or a combo box's edit part) takes the first
// line of a pasted text: up to its first CR or LF, whichever way the text
// breaks its lines. Ctrl+V, Shift+Insert and WM_PASTE all paste this way.
void PasteFirstLineOnly(HWND edit);

// The mouse wheel over a combo box that does not have the focus does
// nothing: it neither steps the combo's text nor takes the focus. Wheel
// messages reach the combo or its edit part (Windows 10 sends them to the
// window under the mouse, and programs send them too); both are covered.
void IgnoreWheelUnlessFocused(HWND combo);
