#include "win32_input_rules.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "runtime/core/input_rules.h"
#include "win32_text.h"

namespace {

constexpr UINT_PTR InputRulesSubclass = 2;

// The clipboard's text; nothing when it holds none or cannot be opened.
std::optional<std::u16string> ClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* letters = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = ToU16String(letters);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PasteFirstLine(HWND edit) {
    const std::optional<std::u16string> offered = ClipboardText(edit);
    const std::optional<std::u16string_view> kept = KeptOfArrivingText(offered);
    if (!kept) return;
    const std::wstring line = ToWide(*kept);
    // Undoable, as the edit control's own paste is.
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
}

bool IsShiftInsert(UINT message, WPARAM wParam) {
    return message == WM_KEYDOWN && wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 &&
           GetKeyState(VK_CONTROL) >= 0;
}

LRESULT CALLBACK OneLinePasteProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    if (message == WM_PASTE || IsShiftInsert(message, wParam)) {
        if ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) == 0) PasteFirstLine(edit);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, OneLinePasteProcedure, InputRulesSubclass);
    return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK WheelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR data) {
    if (message == WM_MOUSEWHEEL) {
        auto* combo = reinterpret_cast<HWND>(data);
        HWND focus = GetFocus();
        if (focus != combo && GetParent(focus) != combo) return 0;
        // The edit part would spend the turn scrolling its one line; the
        // combo box steps its items.
        if (window != combo) return SendMessageW(combo, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, WheelProcedure, InputRulesSubclass + 1);
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void PasteFirstLineOnly(HWND edit) {
    SetWindowSubclass(edit, OneLinePasteProcedure, InputRulesSubclass, 0);
}

void IgnoreWheelUnlessFocused(HWND combo) {
    const auto data = reinterpret_cast<DWORD_PTR>(combo);
    SetWindowSubclass(combo, WheelProcedure, InputRulesSubclass + 1, data);
    if (HWND edit = GetWindow(combo, GW_CHILD))
        SetWindowSubclass(edit, WheelProcedure, InputRulesSubclass + 1, data);
}

void ComboTypedText::Notified(HWND combo, WORD notification) {
    const auto watched = typedBeforeList_.find(combo);
    if (watched == typedBeforeList_.end()) return;
    std::optional<std::wstring>& typed = watched->second;
    switch (notification) {
    case CBN_DROPDOWN: // before the system copies the highlighted item
        typed = TextOfWindow(combo);
        break;
    case CBN_SELENDCANCEL: // also sent on every loss of focus, list open or not
        if (typed && TextOfWindow(combo) != *typed) SetWindowTextW(combo, typed->c_str());
        break;
    case CBN_CLOSEUP: typed.reset(); break;
    default: break;
    }
}
