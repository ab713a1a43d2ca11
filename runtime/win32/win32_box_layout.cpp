#include "win32_box_layout.h"

#include <algorithm>

#include "win32_dpi.h"

namespace {

// A screen device context with a font selected, for measuring text.
class MeasuringContext {
public:
    explicit MeasuringContext(HFONT font)
        : dc_(GetDC(nullptr)), previous_(SelectObject(dc_, font)) {}
    ~MeasuringContext() {
        SelectObject(dc_, previous_);
        ReleaseDC(nullptr, dc_);
    }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;

    HDC Get() const { return dc_; }
    int LineHeight() const {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }
    SIZE Extent(std::wstring_view text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// The client width that shows the whole title: the caption's font, with
// room for the close button and the margins around the text.
int ClientWidthForTitle(std::wstring_view title, int dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!NonClientMetricsForDpi(metrics, dpi)) return 0;
    HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    int width = 0;
    {
        const MeasuringContext caption(captionFont);
        width = caption.Extent(title).cx;
    }
    DeleteObject(captionFont);
    return width + 3 * SystemMetricForDpi(SM_CXSIZE, dpi);
}

// The size of the box's frame (caption and borders) around its client area.
SIZE FrameSize(DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, style, exStyle, dpi);
    return {Width(frame), Height(frame)};
}

} // namespace

BoxLayout LayOutMessageBox(const BoxContent& content, const RECT& workArea) {
    const MeasuringContext measure(content.font);
    const int line = measure.LineHeight();
    const int margin = line;
    const SIZE frame = FrameSize(content.style, content.exStyle, content.dpi);
    const int iconBlock = content.icon.cx > 0 ? content.icon.cx + margin : 0;

    // Lines wrap at five eighths of the work area, as wide as a reader's
    // eye takes in; a word too long for that widens the box.
    const int wrapWidth =
        std::max<int>(line, Width(workArea) * 5 / 8 - frame.cx - 2 * margin - iconBlock);
    RECT text{0, 0, wrapWidth, 0};
    DrawTextW(measure.Get(), content.text.data(), static_cast<int>(content.text.size()), &text,
              StaticTextFormat | DT_CALCRECT);
    const SIZE textSize{Width(text), Height(text)};

    // The button is twice as wide and high as its caption, and at least
    // twice as wide as high.
    const SIZE caption = measure.Extent(content.button);
    const SIZE button{2 * std::max<LONG>(caption.cx, 2 * line), 2 * line};

    const SIZE contentSize{iconBlock + textSize.cx, std::max<LONG>(content.icon.cy, textSize.cy)};
    const int clientWidth = std::max<int>({contentSize.cx + 2 * margin, button.cx + 2 * margin,
                                           ClientWidthForTitle(content.title, content.dpi)});
    const int clientHeight = margin + contentSize.cy + margin + button.cy + margin;

    BoxLayout layout;
    const SIZE window{clientWidth + frame.cx, clientHeight + frame.cy};
    const int left = workArea.left + (Width(workArea) - window.cx) / 2;
    const int top = workArea.top + (Height(workArea) - window.cy) / 2;
    layout.window = {left, top, left + window.cx, top + window.cy};
    layout.fits = window.cx <= Width(workArea) && window.cy <= Height(workArea);

    const int contentLeft = (clientWidth - contentSize.cx) / 2;
    const int iconTop = margin + (contentSize.cy - content.icon.cy) / 2;
    layout.icon = {contentLeft, iconTop, contentLeft + content.icon.cx, iconTop + content.icon.cy};
    const int textLeft = contentLeft + iconBlock;
    const int textTop = margin + (contentSize.cy - textSize.cy) / 2;
    layout.text = {textLeft, textTop, textLeft + textSize.cx, textTop + textSize.cy};
    const int buttonLeft = (clientWidth - button.cx) / 2;
    const int buttonTop = margin + contentSize.cy + margin;
    layout.button = {buttonLeft, buttonTop, buttonLeft + button.cx, buttonTop + button.cy};
    return layout;
}

int LineHeightOf(HFONT font) { return MeasuringContext(font).LineHeight(); }

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return monitor.rcWork;
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return workArea;
}
