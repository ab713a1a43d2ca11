#include "win32_probe.h"

#include <thread>

namespace {

constexpr auto PollInterval = std::chrono::milliseconds(2);

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsIcon(HWND staticControl) {
    return (GetWindowLongW(staticControl, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// An offset within an extent of the virtual screen as SendInput's absolute
// coordinate (0 to 65535 across), rounded up so that it maps back to it.
LONG Normalized(int offset, int extent) {
    return static_cast<LONG>((static_cast<long long>(offset) * 65536 + extent - 1) / extent);
}

INPUT MouseInputAt(POINT where, DWORD flags, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalized(where.x - GetSystemMetrics(SM_XVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy = Normalized(where.y - GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.mouseData = data;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

// A box without an icon may keep an empty icon control.
bool ShowsAnIcon(HWND iconControl) { return SendMessageW(iconControl, STM_GETICON, 0, 0) != 0; }

} // namespace

std::wstring WindowText(HWND window) {
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring WindowClass(HWND window) {
    wchar_t name[256]{};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

void SetWindowTextOf(HWND window, std::wstring_view text) {
    const std::wstring copy(text);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickAt(POINT where) {
    INPUT inputs[] = {MouseInputAt(where, 0), MouseInputAt(where, MOUSEEVENTF_LEFTDOWN),
                      MouseInputAt(where, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof(INPUT));
}

void WheelAt(POINT where, int delta) {
    INPUT input = MouseInputAt(where, MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
    SendInput(1, &input, sizeof input);
}

HWND FindMessageBox(HWND owner) {
    constexpr const wchar_t* DialogClass = L"#32770";
    for (HWND box = FindWindowExW(nullptr, nullptr, DialogClass, nullptr); box != nullptr;
         box = FindWindowExW(nullptr, box, DialogClass, nullptr)) {
        if (GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) return box;
    }
    return nullptr;
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.title = WindowText(box);
    for (HWND child : Children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring className = WindowClass(child);
        if (className == L"Button") {
            view.buttons.push_back(WindowText(child));
        } else if (className == L"Edit") {
            view.text = WindowText(child);
            const auto style = GetWindowLongW(child, GWL_STYLE);
            view.textIsInAView = (style & ES_READONLY) != 0 && (style & WS_VSCROLL) != 0;
        } else if (className == L"Static") {
            if (IsIcon(child)) {
                view.hasIcon = view.hasIcon || ShowsAnIcon(child);
            } else if (const std::wstring text = WindowText(child); !text.empty()) {
                view.text = text;
            }
        }
    }
    return view;
}

void PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (IsWindow(window)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(PollInterval);
    }
    return true;
}

HWND WaitForMessageBox(HWND owner, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (HWND box = FindMessageBox(owner)) return box;
        if (std::chrono::steady_clock::now() >= deadline) return nullptr;
        std::this_thread::sleep_for(PollInterval);
    }
}
