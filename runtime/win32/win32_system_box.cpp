#include "win32_system_box.h"

#include <commctrl.h>

#include <string>

#include "win32_box_clipboard.h"
#include "win32_box_layout.h"
#include "win32_dpi.h"
#include "win32_text.h"

namespace {

constexpr UINT_PTR ShaperSubclass = 1;

std::wstring ClassOf(HWND window) {
    wchar_t name[64]{};
    const int length = GetClassNameW(window, name, 64);
    return {name, static_cast<std::size_t>(length > 0 ? length : 0)};
}

// The parts of a message box, found by kind, since their ids differ from
// one system to another.
struct BoxParts {
    HWND text = nullptr;
    HWND icon = nullptr;
    HWND button = nullptr;
};

BoxParts FindParts(HWND box) {
    BoxParts parts;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // The box itself is not shown yet: its parts are those meant to be.
        if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        const std::wstring kind = ClassOf(child);
        if (kind == L"Button") {
            parts.button = child;
        } else if (kind == L"Static") {
            const bool isIcon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            (isIcon ? parts.icon : parts.text) = child;
        }
    }
    return parts;
}

// The text is a name or a report as typed, and an ampersand in it marks no
// access key. Wine's dialog manager looks for access keys in the text of
// every static control, even one that shows its text without them, so in
// "A & B" it took Space for the text's key and Space no longer pressed OK.
// The text no longer says it is a static control, and no key is its own.
constexpr UINT_PTR NoAccessKeySubclass = 2;

LRESULT CALLBACK NoAccessKeyProcedure(HWND text, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(text, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_STATIC);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(text, &NoAccessKeyProcedure, NoAccessKeySubclass);
    return DefSubclassProc(text, message, wParam, lParam);
}

void TakeNoAccessKeyFrom(HWND text) {
    SetWindowSubclass(text, &NoAccessKeyProcedure, NoAccessKeySubclass, 0);
}

void Place(HWND window, const RECT& rect) {
    if (window == nullptr) return;
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system's icon that a message box shows for its icon flag.
const wchar_t* SystemIconName(UINT icon) {
    switch (icon & MB_ICONMASK) {
    case MB_ICONERROR: return IDI_ERROR;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONWARNING: return IDI_WARNING;
    case MB_ICONINFORMATION: return IDI_INFORMATION;
    default: return nullptr;
    }
}

// The system's icon drawn for a size, not stretched from another; nullptr
// where the system cannot (before Windows Vista). The caller destroys it.
HICON LoadSystemIconAtSize(UINT icon, SIZE size) {
    const wchar_t* name = SystemIconName(icon);
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    if (name == nullptr || controls == nullptr) return nullptr;
    using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    // GetProcAddress returns every function under one type.
    const auto load = reinterpret_cast<LoadIconWithScaleDownFunction>(
        reinterpret_cast<void*>(GetProcAddress(controls, "LoadIconWithScaleDown")));
    HICON loaded = nullptr;
    if (load == nullptr || FAILED(load(nullptr, name, size.cx, size.cy, &loaded))) return nullptr;
    return loaded;
}

// Lays out the one message box that the thread opens while it lives: a CBT
// hook catches the box as it is made, and the box is laid out once the
// system has filled it in (WM_INITDIALOG), before it is shown.
class BoxShaper {
public:
    BoxShaper(std::wstring_view title, std::wstring_view text, UINT icon, int dpi)
        : copy_{std::wstring(title), std::wstring(text), L"OK"}, icon_(icon), dpi_(dpi),
          previous_(current_) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId());
    }
    ~BoxShaper() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        current_ = previous_;
        // The box has gone, and its parts with it.
        if (font_ != nullptr) DeleteObject(font_);
        if (iconAtDpi_ != nullptr) DestroyIcon(iconAtDpi_);
    }
    BoxShaper(const BoxShaper&) = delete;
    BoxShaper& operator=(const BoxShaper&) = delete;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
        BoxShaper* self = current_;
        auto* window = reinterpret_cast<HWND>(wParam);
        if (self != nullptr && code == HCBT_CREATEWND && self->box_ == nullptr &&
            ClassOf(window) == L"#32770") {
            self->box_ = window;
            SetWindowSubclass(window, &BoxProcedure, ShaperSubclass,
                              reinterpret_cast<DWORD_PTR>(self));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*id*/, DWORD_PTR data) {
        if (message == WM_INITDIALOG) {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            reinterpret_cast<BoxShaper*>(data)->Shape(box);
            return result;
        }
        if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &BoxProcedure, ShaperSubclass);
        return DefSubclassProc(box, message, wParam, lParam);
    }

    void Shape(HWND box) {
        const BoxParts parts = FindParts(box);
        if (parts.text == nullptr || parts.button == nullptr) return; // not a box we know
        copy_.button = TextOfWindow(parts.button);
        const bool showsIcon =
            parts.icon != nullptr && SendMessageW(parts.icon, STM_GETICON, 0, 0) != 0;
        // The system made the box at the DPI it knows; it is drawn again at
        // its owner's, in the font, the icon and the sizes of that DPI.
        font_ = CreateMessageFontForDpi(dpi_);
        SendMessageW(parts.text, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(parts.button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        BoxContent content{copy_.title, copy_.text, copy_.button, font_};
        content.dpi = dpi_;
        if (showsIcon) content.icon = ShowIconAtDpi(parts.icon);
        content.style = static_cast<DWORD>(GetWindowLongW(box, GWL_STYLE));
        content.exStyle = static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE));
        HWND owner = GetWindow(box, GW_OWNER);
        const BoxLayout layout =
            LayOutMessageBox(content, WorkAreaOf(owner != nullptr ? owner : box));

        TakeNoAccessKeyFrom(parts.text);
        Place(box, layout.window);
        Place(parts.text, layout.text);
        if (showsIcon) Place(parts.icon, layout.icon);
        Place(parts.button, layout.button);
        CopyBoxOnCopyKeys(parts.button, &copy_);
    }

    // The icon's size at the box's DPI, and the icon drawn for it where the
    // system has one; else the system's icon at its own size.
    SIZE ShowIconAtDpi(HWND iconControl) {
        const SIZE size{SystemMetricForDpi(SM_CXICON, dpi_), SystemMetricForDpi(SM_CYICON, dpi_)};
        iconAtDpi_ = LoadSystemIconAtSize(icon_, size);
        if (iconAtDpi_ == nullptr)
            return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
        SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(iconAtDpi_), 0);
        return size;
    }

    static inline BoxShaper* current_ = nullptr;
    BoxCopy copy_;
    UINT icon_;
    int dpi_;
    HFONT font_ = nullptr;
    HICON iconAtDpi_ = nullptr;
    BoxShaper* previous_;
    HHOOK hook_ = nullptr;
    HWND box_ = nullptr;
};

} // namespace

void ShowSystemMessageBox(BoxOwner owner, std::wstring_view title, std::wstring_view text,
                          UINT icon) {
    const std::wstring prompt(text);
    const std::wstring caption(title);
    const BoxShaper shaper(title, text, icon, owner.dpi);
    MessageBoxW(owner.window, prompt.c_str(), caption.c_str(), MB_OK | icon);
}
