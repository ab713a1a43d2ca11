// Building the form's window: its class, its font and one child window per
// control, in the order that Tab and the accessibility proxy follow.
#include <algorithm>
#include <vector>

#include "program_resources.h"
#include "runtime/core/run_time_error.h"
#include "win32_form_window.h"
#include "win32_layout.h"
#include "win32_text.h"

namespace {

constexpr wchar_t FormClassName[] = L"SameHeightForm";
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD FormExStyle = 0;

// The program's own icon, the first in its file, for the title bar and the
// taskbar; the generic one in a program that has none.
HICON ProgramIcon() {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PROGRAM_ICON_ID));
    return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

// The form is a dialog-box class: the dialog manager moves the focus on Tab
// and keeps it across activations. Its window procedure is our own.
void RegisterFormClass(WNDPROC procedure) {
    static const ATOM registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = ProgramIcon();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = FormClassName;
        return RegisterClassExW(&windowClass);
    }();
    if (registered == 0) RaiseRunTimeError(RunTimeErrorNumber::OutOfMemory);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// The system's message font, at the screen's DPI: without it, controls are
// drawn in the bold System font.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

struct ChildClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// Every control clips its siblings: some labels overlap the boxes in their
// row and must not paint over their borders.
ChildClass ChildClassOf(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
        return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
        return {L"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ControlKind::CommandButton: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Frame: return {L"BUTTON", child | BS_GROUPBOX, 0};
    }
    return {L"STATIC", child, 0};
}

// A drop-down combo box's window height includes its open list: make room
// for every item below the closed box.
void SizeDropDownList(HWND combo, std::size_t itemCount) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int listHeight = itemHeight * static_cast<int>(std::max<std::size_t>(itemCount, 1)) +
                           2 * GetSystemMetrics(SM_CYBORDER);
    SetWindowPos(combo, nullptr, 0, 0, closed.right - closed.left,
                 closed.bottom - closed.top + listHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillComboBox(HWND combo, const ControlDescription& control) {
    for (std::u16string_view item : control.listItems) {
        const std::wstring text = ToWide(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SizeDropDownList(combo, control.listItems.size());
}

} // namespace

Win32FormWindow::Win32FormWindow(const FormDescription& description)
    : description_(description), font_(CreateMessageFont()), dpi_(ScreenDpi()) {
    RegisterFormClass(&Win32FormWindow::WindowProcedure);
    // The window is sized from its client area, so the client area is the
    // form's on any DPI and with any border.
    RECT frame = FormClientRect(description, dpi_);
    AdjustWindowRectEx(&frame, FormStyle, FALSE, FormExStyle);
    const std::wstring caption = ToWide(description.caption);
    window_ = CreateWindowExW(FormExStyle, FormClassName, caption.c_str(), FormStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) RaiseRunTimeError(RunTimeErrorNumber::OutOfMemory);
    controls_.emplace(std::string(description.name), window_);
    try {
        CreateControls(description);
    } catch (...) {
        // No destructor runs for a half-made window: its messages must not
        // reach this object any more.
        DestroyWindow(window_);
        DeleteObject(font_);
        throw;
    }
}

Win32FormWindow::~Win32FormWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (font_ != nullptr) DeleteObject(font_);
}

// Tab follows the order in which the controls were made, each beneath the
// ones before it, so the inputs and buttons are made in Tab order. The
// system's accessibility proxy names an edit control after the label just
// before it in that order, so each input's label is made right before it;
// the other labels follow. A frame is a sibling of its controls and would
// hide them: the frames go beneath every control at the end.
void Win32FormWindow::CreateControls(const FormDescription& description) {
    std::vector<HWND> frames;
    for (const ControlDescription* control : CreationOrder(description)) {
        HWND child = CreateControl(description, *control);
        controls_.emplace(std::string(control->name), child);
        kinds_.emplace(std::string(control->name), control->kind);
        if (control->kind == ControlKind::Frame) frames.push_back(child);
    }
    for (HWND frame : frames)
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND Win32FormWindow::CreateControl(const FormDescription& description,
                                    const ControlDescription& control) {
    const ChildClass childClass = ChildClassOf(control.kind);
    const RECT rect = PlacedRectInForm(description, control, dpi_);
    const std::wstring caption = ToWide(control.caption);
    HWND child =
        CreateWindowExW(childClass.exStyle, childClass.className, caption.c_str(), childClass.style,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        window_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ControlId(control))),
                        GetModuleHandleW(nullptr), nullptr);
    if (child == nullptr) RaiseRunTimeError(RunTimeErrorNumber::OutOfMemory);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Texts of any length: the user's paste is never cut short.
    if (control.kind == ControlKind::TextBox) {
        SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
        PasteFirstLineOnly(child);
    }
    if (control.kind == ControlKind::ComboBox) {
        SendMessageW(child, CB_LIMITTEXT, 0, 0);
        FillComboBox(child, control);
        if (HWND edit = GetWindow(child, GW_CHILD)) PasteFirstLineOnly(edit);
        IgnoreWheelUnlessFocused(child);
        comboTypedText_.Watch(child);
    }
    return child;
}
