#include "win32_message_box.h"

#include <string>

#include "runtime/core/application.h"
#include "runtime/core/prompt_room.h"
#include "win32_box_layout.h"
#include "win32_system_box.h"
#include "win32_text.h"
#include "win32_text_view_box.h"

namespace {

// Whether the system's box, laid out by the program, lies within the work
// area, measured in the message font. The shared rule asks about starts of
// the text, so a text of any length is decided in bounded time.
bool FitsInAMessageBox(HWND owner, std::wstring_view title, std::u16string_view text) {
    HFONT font = CreateMessageBoxFont();
    if (font == nullptr) return false;
    const RECT workArea = WorkAreaOf(owner);
    const bool fits = PromptFitsInRoom(text, [&](std::u16string_view part) {
        const std::wstring shown = ToWide(part);
        const BoxContent content{title, shown, L"OK", font};
        return LayOutMessageBox(content, workArea).fits;
    });
    DeleteObject(font);
    return fits;
}

} // namespace

void ShowMessageBox(HWND owner, std::u16string_view prompt) {
    const std::wstring text = ToWide(prompt);
    const std::wstring title = ToWide(ApplicationTitle);
    // The box disables its owner while it is open.
    if (FitsInAMessageBox(owner, title, prompt)) {
        ShowSystemMessageBox(owner, title, text, 0);
    } else {
        ShowTextViewBox(owner, title, text);
    }
}

void ShowRunTimeErrorBox(HWND owner, const RunTimeError& error) {
    ShowSystemMessageBox(owner, ToWide(ApplicationTitle),
                         ToWide(RunTimeErrorMessage(error.Number())), MB_ICONERROR);
}
