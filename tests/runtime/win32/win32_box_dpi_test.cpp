#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "box_answerer.h"
#include "dpi_change.h"
#include "runtime/core/run_time_error.h"
#include "runtime/win32/win32_box_layout.h"
#include "runtime/win32/win32_dpi.h"
#include "runtime/win32/win32_form_window.h"
#include "win32_probe.h"
#include "window/form2_description.h"

// The boxes the form opens are laid out at the DPI the form is on: after the
// form has moved to a monitor of 144 DPI, the next box's font, icon and sizes
// are half as large again as at 96, and the room a prompt may take follows;
// back at 96 the box is as it was. A box open while the form moves keeps
// working.

namespace {

// What a box's layout at a DPI shows.
struct BoxMeasures {
    LONG textFontHeight = 0; // the text's font, as LOGFONT gives it (negative)
    LONG okFontHeight = 0;
    SIZE ok{};
    SIZE iconControl{};
    SIZE iconImage{};
    SIZE window{}; // frame and all, as the box is placed
    bool textIsInAView = false;
};

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

LONG FontHeightOf(HWND window) {
    auto* font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW used{};
    if (font == nullptr || GetObjectW(font, sizeof used, &used) == 0) return 0;
    return used.lfHeight;
}

BoxMeasures Measure(HWND box) {
    BoxMeasures seen;
    seen.textIsInAView = ReadMessageBox(box).textIsInAView;
    RECT window{};
    GetWindowRect(box, &window);
    seen.window = SizeOf(window);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        const std::wstring kind = WindowClass(child);
        const bool isIcon =
            kind == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (isIcon) {
            // Wine's box keeps its icon's place, empty, when it shows none.
            auto* icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            if (icon == nullptr) continue;
            seen.iconControl = SizeOf(rect);
            seen.iconImage = IconImageSize(icon);
        } else if (kind == L"Static" || kind == L"Edit") {
            seen.textFontHeight = FontHeightOf(child);
        } else if (GetDlgCtrlID(child) == IDOK) {
            seen.ok = SizeOf(rect);
            seen.okFontHeight = FontHeightOf(child);
        }
    }
    return seen;
}

// A prompt of short lines that fits a message box at 96 DPI and no longer
// at 144.
std::u16string LinesBetweenWhatFitsAt96AndAt144() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HFONT font = CreateMessageFontForDpi(USER_DEFAULT_SCREEN_DPI);
    const int lineHeight = LineHeightOf(font);
    DeleteObject(font);
    // With room for the margins, the button and the frame at 96 DPI, the
    // lines take 0.77 of the work area at 96 DPI and 1.15 of it at 144.
    const int count = (work.bottom - work.top) * 10 / (13 * lineHeight);
    std::u16string text;
    for (int added = 0; added < count; ++added)
        text += u"Иванов\n";
    return text;
}

class BoxDpiTest : public ::testing::Test {
protected:
    Win32FormWindow window{Form2Description()};

    void SetUp() override {
        window.Show(SW_SHOWNORMAL);
        window.OnClick("Command1",
                       [] { RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange); });
    }

    // The measures of the box that `open` opens, which is then dismissed.
    BoxMeasures MeasureBoxOpenedBy(const std::function<void()>& open) {
        BoxMeasures seen;
        BoxAnswerer answerer(window.Handle(), [&seen](HWND box, std::size_t) {
            seen = Measure(box);
            PressOk(box);
        });
        open();
        EXPECT_EQ(answerer.boxes.size(), 1U);
        return seen;
    }
};

struct BoxKind {
    const char* what;
    std::function<void(Win32FormWindow&)> open;
    bool showsIcon;
};

const BoxKind BoxKinds[] = {
    {"a message box", [](Win32FormWindow& form) { form.ShowMessage(u"Запись добавлена"); }, false},
    {"the run-time error box",
     [](Win32FormWindow& form) { SendMessageW(form.Control("Command1"), BM_CLICK, 0, 0); }, true},
    {"the long-prompt view",
     [](Win32FormWindow& form) { form.ShowMessage(std::u16string(300, u'\n') + u"X"); }, false},
};

// A size at 144 DPI against the same at 96: half as large again, give or
// take the rounding of the font's and a line's height to whole pixels (an
// 11-pixel font is 17 pixels high at 144 DPI and its lines 21 pixels, not
// 19.5), which a size made of several lines' heights multiplies, and a frame
// that a system without per-window DPI draws at its own DPI.
void ExpectScaledByHalfAgain(LONG at96, LONG at144, const char* what) {
    EXPECT_GE(at144 * 100, at96 * 140) << what << ": " << at96 << " at 96 DPI, " << at144;
    EXPECT_LE(at144 * 100, at96 * 170) << what << ": " << at96 << " at 96 DPI, " << at144;
}

// The icon is drawn for its size at each DPI.
void ExpectIconScaledByHalfAgain(SIZE at96, SIZE at144, const char* what) {
    EXPECT_NEAR(at144.cx, at96.cx * 3 / 2, 1) << what;
    EXPECT_NEAR(at144.cy, at96.cy * 3 / 2, 1) << what;
}

TEST_F(BoxDpiTest, TheNextBoxOpensAtTheDpiTheFormIsOnAndAsBeforeWhenItComesBack) {
    if (window.Dpi() != USER_DEFAULT_SCREEN_DPI) GTEST_SKIP() << "the screen is not at 96 DPI";
    for (const BoxKind& kind : BoxKinds) {
        SCOPED_TRACE(kind.what);
        const auto open = [this, &kind] { kind.open(window); };
        const BoxMeasures at96 = MeasureBoxOpenedBy(open);
        MoveToDpi(window.Handle(), 144);
        const BoxMeasures at144 = MeasureBoxOpenedBy(open);
        MoveToDpi(window.Handle(), USER_DEFAULT_SCREEN_DPI);
        const BoxMeasures again = MeasureBoxOpenedBy(open);

        ASSERT_NE(at96.textFontHeight, 0);
        ASSERT_EQ(at96.iconImage.cx > 0, kind.showsIcon);
        EXPECT_NEAR(at144.textFontHeight, MulDiv(at96.textFontHeight, 3, 2), 1);
        EXPECT_NEAR(at144.okFontHeight, MulDiv(at96.okFontHeight, 3, 2), 1);
        ExpectScaledByHalfAgain(at96.ok.cx, at144.ok.cx, "OK's width");
        ExpectScaledByHalfAgain(at96.ok.cy, at144.ok.cy, "OK's height");
        ExpectIconScaledByHalfAgain(at96.iconControl, at144.iconControl, "the icon's place");
        ExpectIconScaledByHalfAgain(at96.iconImage, at144.iconImage, "the icon's image");
        if (!at96.textIsInAView) {
            // The view takes a share of the work area at any DPI.
            ExpectScaledByHalfAgain(at96.window.cx, at144.window.cx, "the box's width");
            ExpectScaledByHalfAgain(at96.window.cy, at144.window.cy, "the box's height");
        }
        EXPECT_EQ(at144.textIsInAView, at96.textIsInAView);

        EXPECT_EQ(again.textFontHeight, at96.textFontHeight);
        EXPECT_EQ(again.okFontHeight, at96.okFontHeight);
        EXPECT_EQ(again.ok.cx, at96.ok.cx);
        EXPECT_EQ(again.ok.cy, at96.ok.cy);
        EXPECT_EQ(again.iconImage.cx, at96.iconImage.cx);
        EXPECT_EQ(again.iconControl.cx, at96.iconControl.cx);
        EXPECT_EQ(again.window.cx, at96.window.cx);
        EXPECT_EQ(again.window.cy, at96.window.cy);
    }
}

// Lines take half as much room again at 144 DPI: a prompt that a message
// box shows at 96 DPI needs the view at 144.
TEST_F(BoxDpiTest, APromptTakesTheRoomItNeedsAtTheDpiTheFormIsOn) {
    if (window.Dpi() != USER_DEFAULT_SCREEN_DPI) GTEST_SKIP() << "the screen is not at 96 DPI";
    const std::u16string prompt = LinesBetweenWhatFitsAt96AndAt144();
    const auto open = [this, &prompt] { window.ShowMessage(prompt); };
    EXPECT_FALSE(MeasureBoxOpenedBy(open).textIsInAView) << "at 96 DPI";
    MoveToDpi(window.Handle(), 144);
    EXPECT_TRUE(MeasureBoxOpenedBy(open).textIsInAView) << "at 144 DPI";
    MoveToDpi(window.Handle(), USER_DEFAULT_SCREEN_DPI);
    EXPECT_FALSE(MeasureBoxOpenedBy(open).textIsInAView) << "back at 96 DPI";
}

// Real key presses, through the system's input queue to the active window.
void Tap(BYTE key) {
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// The form moves to 144 DPI while a box is open: the box's keys still
// dismiss it, the program goes on, and the next box is at 144 DPI.
TEST_F(BoxDpiTest, ABoxOpenWhileTheFormMovesKeepsWorking) {
    if (window.Dpi() != USER_DEFAULT_SCREEN_DPI) GTEST_SKIP() << "the screen is not at 96 DPI";
    for (const BoxKind& kind : BoxKinds) {
        SCOPED_TRACE(kind.what);
        const auto open = [this, &kind] { kind.open(window); };
        const BoxMeasures at96 = MeasureBoxOpenedBy(open);
        for (const BYTE key : {BYTE{VK_RETURN}, BYTE{VK_ESCAPE}}) {
            SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Escape");
            BoxMeasures seen;
            {
                BoxAnswerer answerer(
                    window.Handle(),
                    [this, key, &seen](HWND box, std::size_t) {
                        MoveToDpi(window.Handle(), 144);
                        seen = Measure(box);
                        Tap(key);
                    },
                    BoxAnswerer::Delivery::ThroughInput);
                open();
                EXPECT_EQ(answerer.boxes.size(), 1U);
                EXPECT_EQ(answerer.boxesThatStayedOpen, 0) << "the box stayed open";
            }
            EXPECT_EQ(seen.textFontHeight, at96.textFontHeight) << "the open box changed";
            EXPECT_TRUE(IsWindowEnabled(window.Handle()));
            EXPECT_EQ(window.Dpi(), 144);
            const BoxMeasures next = MeasureBoxOpenedBy(open);
            EXPECT_NEAR(next.textFontHeight, MulDiv(at96.textFontHeight, 3, 2), 1)
                << "the next box";
            MoveToDpi(window.Handle(), USER_DEFAULT_SCREEN_DPI);
        }
    }
}

} // namespace
