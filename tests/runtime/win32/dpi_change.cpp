#include "dpi_change.h"

void MoveToDpi(HWND form, int dpi) {
    RECT frame{0, 0, MulDiv(4575, dpi, 1440), MulDiv(4155, dpi, 1440)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)));
    RECT now{};
    GetWindowRect(form, &now);
    RECT suggested{now.left, now.top, now.left + frame.right - frame.left,
                   now.top + frame.bottom - frame.top};
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

SIZE IconImageSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    // Without a colour bitmap the mask holds the icon's two masks, one above the other.
    const SIZE size{mask.bmWidth, info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2};
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return size;
}
