// The Windows start-up floor: the least a Win32 program does to show a window
// like Form2 with text in it. A window of Form2's size, style and caption,
// at the screen's DPI, holding one label with the form's first Cyrillic
// caption in the system's message font at that DPI (the form's font, made
// by the program's own functions), built with the program's compiler, flags
// and manifest (same_height_windows_program).
// bench/win32/run.sh starts it in turn with the program under Wine.
#include <windows.h>

#include "runtime/win32/win32_dpi.h"
#include "runtime/win32/win32_layout.h"
#include "runtime/win32/win32_text.h"
#include "window/form2_description.h"

namespace {

constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const ControlDescription& FirstLabel(const FormDescription& form) {
    for (const ControlDescription& control : form.controls) {
        if (control.kind == ControlKind::Label) return control;
    }
    return form.controls.front();
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
    const FormDescription& form = Form2Description();
    const int dpi = WindowDpi(nullptr); // the screen's, as the program starts
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"TextFloor";
    if (RegisterClassExW(&windowClass) == 0) return 1;

    RECT frame = FormClientRect(form, dpi);
    AdjustWindowRectForDpi(frame, FormStyle, 0, dpi);
    const std::wstring caption = ToWide(form.caption);
    HWND window = CreateWindowExW(0, L"TextFloor", caption.c_str(), FormStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    const ControlDescription& label = FirstLabel(form);
    const RECT place = PlacedRectInForm(form, label, dpi);
    const std::wstring text = ToWide(label.caption);
    HWND child =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        window, nullptr, instance, nullptr);
    HFONT font = CreateMessageFontForDpi(dpi);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return static_cast<int>(message.wParam);
}
