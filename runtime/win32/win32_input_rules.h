#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

// How the form's inputs take what the user pastes and scrolls, the same on
// every version of Windows and under Wine.

// A one-line edit (a text box or a combo box's edit part) takes the first
// line of a pasted text: up to its first CR or LF, whichever way the text
// breaks its lines. Ctrl+V, Shift+Insert and WM_PASTE all paste this way.
void PasteFirstLineOnly(HWND edit);

// The mouse wheel over a combo box that does not have the focus does
// nothing: it neither steps the combo's text nor takes the focus. With the
// focus, each turn steps one item, as the arrow keys do. Wheel messages
// reach the combo or its edit part (Windows 10 sends them to the window
// under the mouse, Wine to the focus, and programs send them too); both
// are covered.
void IgnoreWheelUnlessFocused(HWND combo);

// The typed text of a combo box is never changed by the combo itself. When
// its list opens from the keyboard, the system copies the item that the
// typed text starts into the edit part; a list closed without a pick
// (Escape, or the focus going elsewhere) puts the typed text back. Return or
// a click on an item still takes the item. The form passes on its combo
// boxes' notifications.
class ComboTypedText {
public:
    void Watch(HWND combo) { typedBeforeList_.emplace(combo, std::nullopt); }
    void Notified(HWND combo, WORD notification);

private:
    // The text as the list opened; nothing while the list is closed.
    std::map<HWND, std::optional<std::wstring>> typedBeforeList_;
};
