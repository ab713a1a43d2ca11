#include "win32_form_window.h"

#include <algorithm>
#include <vector>

#include "program_resources.h"
#include "runtime/core/event_handler.h"
#include "win32_dpi.h"
#include "win32_input_rules.h"
#include "win32_layout.h"
#include "win32_message_box.h"
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

// A WM_QUIT that reaches a message box's own loop ends the box and is posted
// again for the thread's loop, so it waits in the queue.
bool QuitIsPending() {
    MSG message{};
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// taskkill (without /F) posts WM_CLOSE to each of the program's windows, the
// open box first: that closes the box, and the form's own WM_CLOSE is still
// waiting in the queue when the handler comes to its next box.
bool CloseIsPending(HWND form) {
    MSG message{};
    return PeekMessageW(&message, form, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
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

// Tab follows the order in which the controls were made, so they are made in
// TabIndex order. A frame is a sibling of its controls and would hide them,
// since each control is made beneath the ones before it: the frames go
// beneath every control at the end.
void Win32FormWindow::CreateControls(const FormDescription& description) {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription& control : description.controls)
        order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<HWND> frames;
    for (const ControlDescription* control : order) {
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
    const RECT rect = ControlRectInForm(description, control, dpi_);
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

void Win32FormWindow::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
    UpdateWindow(window_);
}

void Win32FormWindow::OnClick(std::string_view button, std::function<void()> handler) {
    constexpr auto isButton = [](ControlKind kind) { return kind == ControlKind::CommandButton; };
    const int id = GetDlgCtrlID(ControlOfKind(button, isButton));
    clickHandlers_[id] = std::move(handler);
}

bool Win32FormWindow::HandleDialogMessage(MSG& message) {
    if (window_ == nullptr) return false;
    // Return and keypad Enter click the focused button, as Space does. The
    // dialog manager does so only for the default button, which a button
    // becomes when Tab reaches it but not when it is clicked or focused by
    // a program; the form has no default button otherwise.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        IsPushButtonOfForm(message.hwnd)) {
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

bool Win32FormWindow::IsPushButtonOfForm(HWND window) const {
    if (window == nullptr || GetParent(window) != window_) return false;
    const auto found = clickHandlers_.find(GetDlgCtrlID(window));
    return found != clickHandlers_.end();
}

HWND Win32FormWindow::Control(std::string_view name) const {
    const auto found = controls_.find(name);
    if (found == controls_.end()) RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    return found->second;
}

HWND Win32FormWindow::ControlOfKind(std::string_view name, bool (*isWanted)(ControlKind)) const {
    HWND control = Control(name);
    const auto kind = kinds_.find(name);
    if (kind == kinds_.end() || !isWanted(kind->second))
        RaiseRunTimeError(RunTimeErrorNumber::ObjectRequired);
    return control;
}

HWND Win32FormWindow::Input(std::string_view name) const { return ControlOfKind(name, IsInput); }

std::u16string Win32FormWindow::Text(std::string_view control) const {
    return ToU16String(TextOfWindow(Input(control)));
}

void Win32FormWindow::SetText(std::string_view control, std::u16string_view text) {
    HWND child = Input(control);
    const std::wstring wide = ToWide(text);
    SetWindowTextW(child, wide.c_str());
}

void Win32FormWindow::ShowMessage(std::u16string_view prompt) {
    ThrowIfGone();
    ShowMessageBox(window_, prompt);
}

void Win32FormWindow::ThrowIfGone() const {
    // Without this, a box would open without an owner, or open and end at
    // once on the waiting WM_QUIT, once for every report still to come. A
    // waiting WM_CLOSE destroys the form once the handler has gone.
    if (window_ == nullptr || QuitIsPending() || CloseIsPending(window_)) throw FormGone();
}

void Win32FormWindow::RunClickHandler(int controlId) {
    const auto found = clickHandlers_.find(controlId);
    if (found == clickHandlers_.end()) return;
    RunEventHandler(found->second, [this](const RunTimeError& error) {
        ThrowIfGone();
        ShowRunTimeErrorBox(window_, error);
    });
}

LRESULT CALLBACK Win32FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32FormWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefDlgProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefDlgProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Only the buttons' clicks have handlers. Enter and Escape arrive
        // with ids no control has, and do nothing.
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) RunClickHandler(LOWORD(wParam));
        comboTypedText_.Notified(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        // A dialog would turn this into Escape's command: the form closes.
        // It comes from the title bar, Alt+F4 or taskkill; while a box is
        // open the form is disabled, so only another program sends it then,
        // and a running handler is abandoned at its next box.
        DestroyWindow(window_);
        return 0;
    case WM_ENDSESSION:
        // The session is ending: the form goes as if closed, and the
        // process may be ended as soon as this returns.
        if (wParam != FALSE) DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        if (quitWhenClosed_) PostQuitMessage(0);
        break;
    case WM_DPICHANGED: {
        // The window is now on a monitor of another DPI: it is laid out
        // again there, at the rectangle the system suggests.
        dpi_ = LOWORD(wParam);
        HFONT previous = font_;
        font_ = LayOutAtDpi({window_, description_, controls_, dpi_},
                            *reinterpret_cast<const RECT*>(lParam));
        DeleteObject(previous);
        return 0;
    }
    default: break;
    }
    return DefDlgProcW(window_, message, wParam, lParam);
}
