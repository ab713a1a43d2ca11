#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "runtime/win32/win32_layout.h"
#include "win32_probe.h"
#include "window/form2_description.h"

// Prints what a user sees of the running program's Form2, one "name=value"
// line each, for a driver that runs the same table of user actions on every
// build: the inputs' texts, the control that has the focus, and the open
// box's title, text and buttons, if any. Texts are printed as UTF-8 with
// CR, LF and backslash escaped. Exits with 1 when no Form2 is shown.

namespace {

BOOL CALLBACK MatchForm(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && WindowText(window) == L"Form2" &&
        WindowClass(window) != L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::string Utf8(std::wstring_view text) {
    std::wstring escaped;
    for (wchar_t letter : text) {
        if (letter == L'\\') {
            escaped += L"\\\\";
        } else if (letter == L'\r') {
            escaped += L"\\r";
        } else if (letter == L'\n') {
            escaped += L"\\n";
        } else {
            escaped += letter;
        }
    }
    const int size = WideCharToMultiByte(
        CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), utf8.data(),
                        size, nullptr, nullptr);
    return utf8;
}

void Print(std::string_view name, std::wstring_view value) {
    std::printf("%.*s=%s\n", static_cast<int>(name.size()), name.data(), Utf8(value).c_str());
}

// The name of the form's control that has the focus (a combo box's edit
// part counts as the combo box), or "" when none of them has it.
std::wstring FocusedControl(HWND form) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &thread)) return L"";
    for (const ControlDescription& control : Form2Description().controls) {
        HWND child = GetDlgItem(form, ControlId(control));
        if (child != nullptr && (thread.hwndFocus == child || GetParent(thread.hwndFocus) == child))
            return std::wstring(control.name.begin(), control.name.end());
    }
    return L"";
}

} // namespace

int main() {
    // Lines end in LF alone, whoever reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    HWND form = nullptr;
    EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&form));
    if (form == nullptr) return 1;
    for (std::string_view input : {"Text1", "Text2", "Combo1", "Text3"}) {
        const ControlDescription* control = FindControl(Form2Description(), input);
        Print(input, WindowText(GetDlgItem(form, ControlId(*control))));
    }
    Print("focus", FocusedControl(form));
    if (HWND box = FindMessageBox(form)) {
        const MessageBoxView view = ReadMessageBox(box);
        Print("box.title", view.title);
        Print("box.text", view.text);
        std::wstring buttons;
        for (const std::wstring& button : view.buttons)
            buttons += (buttons.empty() ? L"" : L",") + button;
        Print("box.buttons", buttons);
    }
    return 0;
}
