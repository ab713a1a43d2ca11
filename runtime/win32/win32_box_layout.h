#pragma once

#include <windows.h>

#include <string_view>

// Where a message box and its parts go: the prompt laid out in the box's
// font as its static control draws it, an icon beside it when there is one,
// one button below, the whole centred on the work area (the screen less the
// task bar). The box is at least wide enough to show its title. Its frame
// and title are measured at the DPI of the window that owns it.

// The frame of a message box, the system's and the program's own.
inline constexpr DWORD MessageBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
inline constexpr DWORD MessageBoxExStyle = WS_EX_DLGMODALFRAME;

// The window a box belongs to, and the DPI it is laid out at, which the
// box takes for its own.
struct BoxOwner {
    HWND window;
    int dpi;
};

struct BoxContent {
    std::wstring_view title;
    std::wstring_view text;
    std::wstring_view button;
    HFONT font;  // the text's and the button's
    SIZE icon{}; // empty when the box shows no icon
    int dpi = USER_DEFAULT_SCREEN_DPI;
    DWORD style = MessageBoxStyle;
    DWORD exStyle = MessageBoxExStyle;
};

struct BoxLayout {
    RECT window{}; // in screen coordinates
    RECT icon{};   // the rest in the box's client coordinates
    RECT text{};
    RECT button{};
    bool fits = false; // the whole box lies within the work area
};

BoxLayout LayOutMessageBox(const BoxContent& content, const RECT& workArea);

// The height of a line of text in the font, which the boxes' margins and
// buttons are measured in.
int LineHeightOf(HFONT font);

// The work area of the monitor that shows the window (or the primary one).
RECT WorkAreaOf(HWND window);

// The flags with which a left-aligned static control without prefixes
// draws its text.
inline constexpr UINT StaticTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
