#include "win32_dpi.h"

#include "win32_layout.h"

namespace {

// Functions of newer systems, found at run time so that the program still
// starts where they are missing.
template <typename Function> Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    // GetProcAddress returns every function under one type.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// A drop-down combo box's window height includes its open list: room for
// every item below the closed box, which the font decides.
void PlaceComboBox(HWND combo, const RECT& rect) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const auto itemCount = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const int listHeight =
        itemHeight * (itemCount > 1 ? itemCount : 1) + 2 * GetSystemMetrics(SM_CYBORDER);
    SetWindowPos(combo, nullptr, rect.left, rect.top, rect.right - rect.left,
                 closed.bottom - closed.top + listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsComboBox(HWND window) {
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, L"ComboBox") == 0;
}

void PlaceControl(HWND control, const RECT& rect, HFONT font) {
    if (!IsComboBox(control)) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // A new font or place closes a combo box's list: it opens again there.
    const bool dropped = SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    PlaceComboBox(control, rect);
    if (dropped && SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) == FALSE)
        SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
}

} // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const auto dpi = static_cast<int>(getDpiForWindow(window));
        if (dpi > 0) return dpi;
    }
    return ScreenDpi();
}

// The metrics the system reports are at the screen's DPI: the font is
// scaled from there to the wanted one.
HFONT CreateMessageFontForDpi(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int screenDpi = ScreenDpi();
    if (dpi != screenDpi)
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, screenDpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

HFONT LayOutAtDpi(const FormAtDpi& form, const RECT& suggested) {
    HFONT font = CreateMessageFontForDpi(form.dpi);
    SetWindowPos(form.window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlDescription& control : form.description.controls) {
        const auto found = form.controls.find(control.name);
        if (found == form.controls.end()) continue;
        PlaceControl(found->second, PlacedRectInForm(form.description, control, form.dpi), font);
    }
    return font;
}
