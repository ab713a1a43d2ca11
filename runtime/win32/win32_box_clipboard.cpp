#include "win32_box_clipboard.h"

#include <commctrl.h>

#include <cstring>

#include "runtime/core/box_copy.h"
#include "win32_text.h"

namespace {

constexpr UINT_PTR CopyKeysSubclass = 1;

bool IsControlDown() { return GetKeyState(VK_CONTROL) < 0; }

bool HasSelection(HWND control) {
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return start != end;
    }
    return false;
}

LRESULT CALLBACK CopyKeysProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR /*id*/, DWORD_PTR data) {
    const MSG key{control, message, wParam, lParam, 0, {}};
    if (IsCopyKey(key) && !HasSelection(control)) {
        CopyToClipboard(control, BoxClipboardText(*reinterpret_cast<const BoxCopy*>(data)));
        return 0;
    }
    // The character that Ctrl+C makes would only beep.
    if (message == WM_CHAR && wParam == 0x03 && !HasSelection(control)) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, CopyKeysProcedure, CopyKeysSubclass);
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

std::wstring BoxClipboardText(const BoxCopy& box) {
    const std::u16string button = ToU16String(box.button);
    const std::u16string_view buttons[] = {button};
    return ToWide(CopiedBoxText(ToU16String(box.title), ToU16String(box.text), buttons, u"\r\n"));
}

bool CopyToClipboard(HWND owner, std::wstring_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // Once set, the clipboard owns the memory.
    const bool copied = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!copied) GlobalFree(memory);
    return copied;
}

bool IsCopyKey(const MSG& message) {
    return message.message == WM_KEYDOWN &&
           (message.wParam == 'C' || message.wParam == VK_INSERT) && IsControlDown();
}

void CopyBoxOnCopyKeys(HWND control, const BoxCopy* box) {
    SetWindowSubclass(control, CopyKeysProcedure, CopyKeysSubclass,
                      reinterpret_cast<DWORD_PTR>(box));
}
