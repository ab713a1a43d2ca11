#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Ctrl+C and Ctrl+Insert in a message box copy the whole box as the
// system's message boxes on Windows do: title, text and buttons between
// lines of dashes, so a user can paste what the box said.

struct BoxCopy {
    std::wstring title;
    std::wstring text;
    std::wstring button;
};

// The text that a copy of the box puts on the clipboard.
std::wstring BoxClipboardText(const BoxCopy& box);

// Puts the text on the clipboard as Unicode text; false when the clipboard
// could not be had.
bool CopyToClipboard(HWND owner, std::wstring_view text);

// Whether the key message is Ctrl+C or Ctrl+Insert.
bool IsCopyKey(const MSG& message);

// Makes Ctrl+C and Ctrl+Insert on the control copy the box. The copy must
// outlive the control; a multi-line edit with a selection keeps its own copy
// of the selected text.
void CopyBoxOnCopyKeys(HWND control, const BoxCopy* box);
