#include "win32_text_view_box.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/core/prompt_room.h"
#include "win32_box_clipboard.h"
#include "win32_box_layout.h"

namespace {

constexpr int ViewId = 100;
constexpr UINT_PTR WrappedViewSubclass = 3;

struct TextViewBox {
    BoxCopy copy;
    HFONT font;
    WrappedText view;
};

// A dialog template without controls: the box makes its own, sized to the
// screen, when it starts.
std::vector<WORD> DialogTemplate(std::wstring_view title) {
    DLGTEMPLATE header{};
    header.style = MessageBoxStyle;
    header.dwExtendedStyle = MessageBoxExStyle;
    std::vector<WORD> words(sizeof header / sizeof(WORD));
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0); // no menu
    words.push_back(0); // the system's dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

int LineHeight(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

// The length of the longest start of the text that fits the width; at
// least one letter. Every letter is at least a pixel wide, so no more than
// width + 1 letters need be measured; starts growing from a line's worth of
// average letters keep a long text's measuring near its own length.
std::size_t FittingLength(HDC dc, std::wstring_view text, int width) {
    width = std::max(width, 1);
    const std::size_t most =
        std::min<std::size_t>(text.size(), static_cast<std::size_t>(width) + 1);
    int fit = 0;
    for (std::size_t measured = std::min<std::size_t>(most, 64);;
         measured = std::min(most, 2 * measured)) {
        SIZE size{};
        GetTextExtentExPointW(dc, text.data(), static_cast<int>(measured), width, &fit, nullptr,
                              &size);
        if (static_cast<std::size_t>(fit) < measured || measured == most) break;
    }
    return static_cast<std::size_t>(std::max(fit, 1));
}

// Breaks one paragraph into lines that fit the width: after the last blank
// that fits, or inside a word too long for a line, but never inside a letter
// (a surrogate pair, or a letter and its combining marks).
void AppendWrapped(HDC dc, std::wstring_view paragraph, int width, WrappedText& lines) {
    while (!paragraph.empty()) {
        std::size_t length = FittingLength(dc, paragraph, width);
        if (length < paragraph.size()) {
            const std::size_t blank = paragraph.find_last_of(L' ', length - 1);
            if (blank != std::wstring_view::npos && blank > 0) length = blank + 1;
            length = LineBreakNear(paragraph, length);
        }
        lines.shown.append(paragraph.substr(0, length));
        paragraph.remove_prefix(length);
        if (!paragraph.empty()) {
            lines.addedBreaks.push_back(lines.shown.size());
            lines.shown += L"\r\n";
        }
    }
}

std::wstring SelectedText(HWND view, const WrappedText& text) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return text.Unwrapped(start, end);
}

// The view's text, as a screen reader or another program reads it, and what
// it copies, are the prompt's: the lines it breaks for the eye stay on screen.
LRESULT CALLBACK WrappedViewProcedure(HWND view, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR /*id*/, DWORD_PTR data) {
    const auto& text = *reinterpret_cast<const WrappedText*>(data);
    switch (message) {
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text.shown.size() - 2 * text.addedBreaks.size());
    case WM_GETTEXT: {
        if (wParam == 0) return 0;
        const std::wstring whole = text.Unwrapped(0, text.shown.size());
        const std::size_t length = std::min<std::size_t>(whole.size(), wParam - 1);
        auto* target = reinterpret_cast<wchar_t*>(lParam);
        std::copy_n(whole.data(), length, target);
        target[length] = L'\0';
        return static_cast<LRESULT>(length);
    }
    case WM_COPY: CopyToClipboard(view, SelectedText(view, text)); return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(view, WrappedViewProcedure, WrappedViewSubclass); break;
    default: break;
    }
    return DefSubclassProc(view, message, wParam, lParam);
}

HWND MakeChild(HWND box, const wchar_t* kind, const wchar_t* text, DWORD style, DWORD exStyle,
               int id, HFONT font) {
    HWND child = CreateWindowExW(exStyle, kind, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0,
                                 0, 0, 0, box, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// Three quarters of the work area, centred on it: the view below, OK under it.
void LayOut(HWND box, HWND view, HWND ok, int line) {
    const RECT work = WorkAreaOf(GetWindow(box, GW_OWNER));
    const int width = (work.right - work.left) * 3 / 4;
    const int height = (work.bottom - work.top) * 3 / 4;
    SetWindowPos(box, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(box, &client);
    const int margin = line;
    const SIZE button{4 * line + 2 * margin, 2 * line};
    const int buttonTop = client.bottom - margin - button.cy;
    SetWindowPos(view, nullptr, margin, margin, std::max<LONG>(0, client.right - 2 * margin),
                 std::max(0, buttonTop - 2 * margin), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ok, nullptr, (client.right - button.cx) / 2, buttonTop, button.cx, button.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Start(HWND box, TextViewBox& state) {
    // No soft wrapping (ES_AUTOHSCROLL): the lines are broken here instead,
    // since the edit control's own wrapping takes seconds for a long text
    // under Wine.
    HWND view = MakeChild(box, L"EDIT", L"",
                          WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                          WS_EX_CLIENTEDGE, ViewId, state.font);
    HWND ok =
        MakeChild(box, L"BUTTON", state.copy.button.c_str(), BS_DEFPUSHBUTTON, 0, IDOK, state.font);
    LayOut(box, view, ok, LineHeight(state.font));
    // A text of any length: the limit for a user's typing would cut it.
    SendMessageW(view, EM_SETLIMITTEXT, 0, 0);
    RECT lines{};
    SendMessageW(view, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&lines));
    state.view = WrappedToWidth(state.copy.text, state.font, lines.right - lines.left);
    SetWindowTextW(view, state.view.shown.c_str());
    SetWindowSubclass(view, WrappedViewProcedure, WrappedViewSubclass,
                      reinterpret_cast<DWORD_PTR>(&state.view));
    CopyBoxOnCopyKeys(view, &state.copy);
    CopyBoxOnCopyKeys(ok, &state.copy);
    SetFocus(ok);
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Start(box, *reinterpret_cast<TextViewBox*>(lParam));
        return FALSE; // the focus is set: on OK, as in a message box
    case WM_COMMAND:
        // OK, Enter, Escape and the close button (IDCANCEL) all dismiss it.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, IDOK);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

} // namespace

WrappedText WrappedToWidth(std::wstring_view text, HFONT font, int width) {
    const std::wstring breaks = WithCrLfLineBreaks(text);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    WrappedText lines;
    lines.shown.reserve(breaks.size() + breaks.size() / 16);
    std::wstring_view rest = breaks;
    for (std::size_t end = rest.find(L"\r\n"); end != std::wstring_view::npos;
         end = rest.find(L"\r\n")) {
        AppendWrapped(screen, rest.substr(0, end), width, lines);
        lines.shown += L"\r\n";
        rest.remove_prefix(end + 2);
    }
    AppendWrapped(screen, rest, width, lines);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return lines;
}

std::wstring WrappedText::Unwrapped(std::size_t from, std::size_t to) const {
    to = std::min(to, shown.size());
    std::wstring text;
    if (from >= to) return text;
    text.reserve(to - from);
    auto added = std::lower_bound(addedBreaks.begin(), addedBreaks.end(), from);
    // A selection may start inside an added CR LF, between its two halves.
    if (added != addedBreaks.begin() && *std::prev(added) + 1 == from) ++from;
    while (from < to) {
        if (added != addedBreaks.end() && *added == from) {
            from += 2;
            ++added;
            continue;
        }
        const std::size_t next = added == addedBreaks.end() ? to : std::min(to, *added);
        text.append(shown, from, next - from);
        from = next;
    }
    return text;
}

std::wstring WithCrLfLineBreaks(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const wchar_t letter = text[at];
        if (letter == L'\r' || letter == L'\n') {
            result += L"\r\n";
            if (letter == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n') ++at;
        } else {
            result += letter;
        }
    }
    return result;
}

void ShowTextViewBox(HWND owner, std::wstring_view title, std::wstring_view text) {
    TextViewBox state{{std::wstring(title), std::wstring(text), L"OK"}, CreateMessageBoxFont(), {}};
    const std::vector<WORD> dialog = DialogTemplate(title);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                            &BoxProcedure, reinterpret_cast<LPARAM>(&state));
    if (state.font != nullptr) DeleteObject(state.font);
}
