#include "win32_dpi.h"

#include "program_resources.h"
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

// The fonts of the frame, reported at the screen's DPI, at another DPI.
void ScaleFontHeights(NONCLIENTMETRICSW& metrics, int dpi, int screenDpi) {
    if (dpi == screenDpi) return;
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        font->lfHeight = MulDiv(font->lfHeight, dpi, screenDpi);
}

// A drop-down combo box's window height includes its open list: room for
// every item below the closed box, which the font decides.
void PlaceComboBox(HWND combo, const RECT& rect, int dpi) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const auto itemCount = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const int listHeight =
        itemHeight * (itemCount > 1 ? itemCount : 1) + 2 * SystemMetricForDpi(SM_CYBORDER, dpi);
    SetWindowPos(combo, nullptr, rect.left, rect.top, rect.right - rect.left,
                 closed.bottom - closed.top + listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsComboBox(HWND window) {
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, L"ComboBox") == 0;
}

void PlaceControl(HWND control, const RECT& rect, HFONT font, int dpi) {
    if (!IsComboBox(control)) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // A new font or place closes a combo box's list: it opens again there.
    const bool dropped = SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    PlaceComboBox(control, rect, dpi);
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

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) {
    using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi =
        User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    metrics = {};
    metrics.cbSize = sizeof metrics;
    if (forDpi != nullptr &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return true;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    ScaleFontHeights(metrics, dpi, ScreenDpi());
    return true;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (forDpi != nullptr && forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

HFONT CreateMessageFontForDpi(int dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!NonClientMetricsForDpi(metrics, dpi))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

WindowIcons::~WindowIcons() {
    if (big_ != nullptr) DestroyIcon(big_);
    if (small_ != nullptr) DestroyIcon(small_);
}

void WindowIcons::ShowAtDpi(HWND window, int dpi) {
    struct Kind {
        WPARAM which;
        int sizeMetric;
        HICON* shown;
    };
    for (const Kind kind :
         {Kind{ICON_BIG, SM_CXICON, &big_}, Kind{ICON_SMALL, SM_CXSMICON, &small_}}) {
        const int size = SystemMetricForDpi(kind.sizeMetric, dpi);
        auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(PROGRAM_ICON_ID), IMAGE_ICON,
                                                   size, size, LR_DEFAULTCOLOR));
        if (icon == nullptr) continue;
        SendMessageW(window, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon));
        if (*kind.shown != nullptr) DestroyIcon(*kind.shown);
        *kind.shown = icon;
    }
}

HFONT LayOutAtDpi(const FormAtDpi& form, const RECT& suggested) {
    HFONT font = CreateMessageFontForDpi(form.dpi);
    SetWindowPos(form.window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlDescription& control : form.description.controls) {
        const auto found = form.controls.find(control.name);
        if (found == form.controls.end()) continue;
        PlaceControl(found->second, PlacedRectInForm(form.description, control, form.dpi), font,
                     form.dpi);
    }
    // A control grown over the form repaints only the part it grew by,
    // while the form paints its own background afresh beneath the rest:
    // everything is painted again, whole.
    RedrawWindow(form.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return font;
}
