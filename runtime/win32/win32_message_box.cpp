#include "win32_message_box.h"

#include <string>

#include "runtime/core/application.h"
#include "win32_box_layout.h"
#include "win32_system_box.h"
#include "win32_text.h"
#include "win32_text_view_box.h"

namespace {

// Whether the system's box, laid out by the program, lies within the work
// area: measured in the message font, whatever the text's length.
bool FitsInAMessageBox(HWND owner, std::wstring_view title, std::wstring_view text) {
    HFONT font = CreateMessageBoxFont();
    if (font == nullptr) return false;
    const BoxContent content{title, text, L"OK", font};
    const bool fits = LayOutMessageBox(content, WorkAreaOf(owner)).fits;
    DeleteObject(font);
    return fits;
}

} // namespace

void ShowMessageBox(HWND owner, std::u16string_view prompt) {
    const std::wstring text = ToWide(prompt);
    const std::wstring title = ToWide(ApplicationTitle);
    // The box disables its owner while it is open.
    if (FitsInAMessageBox(owner, title, text)) {
        ShowSystemMessageBox(owner, title, text, 0);
    } else {
        ShowTextViewBox(owner, title, text);
    }
}

void ShowRunTimeErrorBox(HWND owner, const RunTimeError& error) {
    ShowSystemMessageBox(owner, ToWide(ApplicationTitle),
                         ToWide(RunTimeErrorMessage(error.Number())), MB_ICONERROR);
}
