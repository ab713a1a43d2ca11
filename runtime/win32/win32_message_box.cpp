#include "win32_message_box.h"

#include <string>

#include "runtime/core/application.h"
#include "win32_text.h"

namespace {

void ShowBox(HWND owner, std::u16string_view text, UINT icon) {
    const std::wstring prompt = ToWide(text);
    const std::wstring title = ToWide(ApplicationTitle);
    // The box disables its owner while it is open.
    MessageBoxW(owner, prompt.c_str(), title.c_str(), MB_OK | icon);
}

} // namespace

void ShowMessageBox(HWND owner, std::u16string_view prompt) { ShowBox(owner, prompt, 0); }

void ShowRunTimeErrorBox(HWND owner, const RunTimeError& error) {
    ShowBox(owner, RunTimeErrorMessage(error.Number()), MB_ICONERROR);
}
