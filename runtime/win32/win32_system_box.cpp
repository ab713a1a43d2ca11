#include "win32_system_box.h"

#include <commctrl.h>

#include <string>

#include "win32_box_clipboard.h"
#include "win32_box_layout.h"
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

// Lays out the one message box that the thread opens while it lives: a CBT
// hook catches the box as it is made, and the box is laid out once the
// system has filled it in (WM_INITDIALOG), before it is shown.
class BoxShaper {
public:
    BoxShaper(std::wstring_view title, std::wstring_view text)
        : copy_{std::wstring(title), std::wstring(text), L"OK"}, previous_(current_) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId());
    }
    ~BoxShaper() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        current_ = previous_;
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
        BoxContent content{copy_.title, copy_.text, copy_.button,
                           reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0))};
        if (showsIcon) content.icon = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
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

    static inline BoxShaper* current_ = nullptr;
    BoxCopy copy_;
    BoxShaper* previous_;
    HHOOK hook_ = nullptr;
    HWND box_ = nullptr;
};

} // namespace

void ShowSystemMessageBox(HWND owner, std::wstring_view title, std::wstring_view text, UINT icon) {
    const std::wstring prompt(text);
    const std::wstring caption(title);
    const BoxShaper shaper(title, text);
    MessageBoxW(owner, prompt.c_str(), caption.c_str(), MB_OK | icon);
}
