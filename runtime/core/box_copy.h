#pragma once

#include <span>
#include <string>
#include <string_view>

// What a copy of a whole message box (Ctrl+C or Ctrl+Insert with nothing
// selected) puts on the clipboard, in both builds: the title, the text and
// the buttons' captions (each followed by three blanks), each part between
// lines of dashes, as a user pastes what a box said. Lines end with the
// platform's line break.
std::u16string CopiedBoxText(std::u16string_view title, std::u16string_view text,
                             std::span<const std::u16string_view> buttons,
                             std::u16string_view lineBreak);
