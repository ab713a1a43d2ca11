#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32_box_layout.h"

// The program's own box for a prompt too large for a message box on this
// screen: the whole text in a read-only, scrollable view where it can be
// selected, with one OK below it, titled like every other box and modal to
// its owner. Enter, Escape, Space on OK and the close button dismiss it as
// they dismiss a message box; Ctrl+C and Ctrl+Insert copy the whole box, or
// the text selected in the view. Its font and the sizes that follow from it
// are at the owner's DPI. Returns once it has been dismissed or its owner
// destroyed.
void ShowTextViewBox(BoxOwner owner, std::wstring_view title, std::wstring_view text);

// The text with every line break as CR LF, which a multi-line edit control
// needs to show one.
std::wstring WithCrLfLineBreaks(std::wstring_view text);

// A text as the view shows it: CR LF line breaks, and more of them where a
// line is wider than the view, after its last blank that fits or inside a
// word too long for a line. Those added breaks are the view's, not the
// text's: reading or copying the view leaves them out.
struct WrappedText {
    std::wstring shown;
    std::vector<std::size_t> addedBreaks; // where each added CR LF starts in `shown`

    // The part of the text from `from` to `to` (places in `shown`) without
    // the added breaks.
    std::wstring Unwrapped(std::size_t from, std::size_t to) const;
};

WrappedText WrappedToWidth(std::wstring_view text, HFONT font, int width);
