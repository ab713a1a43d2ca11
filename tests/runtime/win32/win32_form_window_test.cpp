#include "runtime/win32/win32_form_window.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "runtime/core/application.h"
#include "runtime/win32/program_resources.h"
#include "runtime/win32/win32_text.h"
#include "tests/runtime/core/expect_run_time_error.h"
#include "win32_probe.h"
#include "window/form2_description.h"

namespace {

class Win32FormWindowTest : public ::testing::Test {
protected:
    Win32FormWindow window{Form2Description()};

    void SetUp() override {
        window.Show(SW_SHOWNORMAL);
        Pump();
    }

    HWND Control(std::string_view name) const { return window.Control(name); }

    // Handles the messages waiting on this thread, as the program's loop does.
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window.HandleDialogMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    void PressKey(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        // Repeat count 1, the key was down and is being released (bits 30
        // and 31): the bits of a key-up, whatever LPARAM's signedness.
        PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001U));
        Pump();
    }

    // The control that has the focus; a combo box's edit part counts as
    // the combo box.
    static HWND FocusedControl() {
        HWND focus = GetFocus();
        if (focus != nullptr && WindowClass(GetParent(focus)) == L"ComboBox")
            return GetParent(focus);
        return focus;
    }

    std::vector<std::string_view> clicks;
    void RecordClicks() {
        for (std::string_view button : {"Command1", "Command2"})
            window.OnClick(button, [this, button] { clicks.push_back(button); });
    }
};

struct ExpectedControl {
    std::string_view name;
    const wchar_t* windowClass;
    RECT twipsInForm; // left, top, right, bottom in the form's client area
};

// The frame's controls are placed at the frame's offset (120, 3240). Label1
// and Label4 end where their inputs start (1935 and 1815 as described).
const ExpectedControl ExpectedControls[] = {
    {"Label1", L"Static", {240, 240, 1800, 495}},
    {"Text1", L"Edit", {1800, 240, 4335, 615}},
    {"Label4", L"Static", {240, 840, 1800, 1095}},
    {"Text2", L"Edit", {1800, 840, 4335, 1215}},
    {"Label3", L"Static", {240, 1440, 1575, 1695}},
    {"Combo1", L"ComboBox", {1800, 1440, 4335, 1755}},
    {"Label2", L"Static", {240, 2040, 1695, 2295}},
    {"Text3", L"Edit", {1800, 2040, 4335, 2415}},
    {"Command1", L"Button", {2040, 2640, 4335, 3015}},
    {"Frame1", L"Button", {120, 3240, 4455, 4095}},
    {"Label5", L"Static", {240, 3480, 2415, 3735}},
    {"Label6", L"Static", {240, 3720, 1335, 3975}},
    {"Command2", L"Button", {2400, 3480, 4335, 3975}},
};

// This test program carries the program's icon resource, as the program does:
// the title bar and the taskbar show it, not the generic one.
TEST_F(Win32FormWindowTest, TheFormShowsTheProgramsIcon) {
    HICON programIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PROGRAM_ICON_ID));
    ASSERT_NE(programIcon, nullptr) << "the test program has no icon resource";
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window.Handle(), GCLP_HICON)), programIcon);
}

TEST_F(Win32FormWindowTest, PlacesEveryControlOnTheFormAtTheScreenDpi) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(window.Dpi(), dpi);
    const auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };

    RECT client{};
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, pixels(4575));
    EXPECT_EQ(client.bottom, pixels(4155));
    EXPECT_EQ(WindowText(window.Handle()), L"Form2");

    for (const ExpectedControl& expected : ExpectedControls) {
        SCOPED_TRACE(std::string(expected.name));
        HWND control = Control(expected.name);
        EXPECT_EQ(GetParent(control), window.Handle());
        EXPECT_EQ(WindowClass(control), expected.windowClass);
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, pixels(expected.twipsInForm.left));
        EXPECT_EQ(rect.top, pixels(expected.twipsInForm.top));
        EXPECT_EQ(rect.right, pixels(expected.twipsInForm.right));
        // A drop-down combo box is as tall as its font makes it.
        if (expected.name != "Combo1") {
            EXPECT_EQ(rect.bottom, pixels(expected.twipsInForm.bottom));
        }
    }
}

// The position of a control in the form's Z order: 0 is drawn on top.
int ZOrderOf(HWND control) {
    int position = 0;
    for (HWND sibling = GetWindow(GetParent(control), GW_CHILD); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT), ++position) {
        if (sibling == control) return position;
    }
    return -1;
}

// Where controls overlap, the one that must stay whole lies on top, and the
// one beneath clips it out instead of painting over it.
TEST_F(Win32FormWindowTest, NoControlPaintsOverAnotherItOverlaps) {
    const std::pair<std::string_view, std::string_view> onTopOf[] = {
        {"Label5", "Frame1"}, {"Label6", "Frame1"}, {"Command2", "Frame1"}, {"Label1", "Frame1"}};
    for (const auto& [top, beneath] : onTopOf) {
        EXPECT_LT(ZOrderOf(Control(top)), ZOrderOf(Control(beneath))) << top << " over " << beneath;
    }
    for (const ControlDescription& description : Form2Description().controls) {
        EXPECT_TRUE(GetWindowLongW(Control(description.name), GWL_STYLE) & WS_CLIPSIBLINGS)
            << description.name;
    }
}

// Label1 as described reaches into Text1 (and Label4 into Text2); there the
// input is what the user sees and clicks, border and all.
TEST_F(Win32FormWindowTest, AnInputIsWholeWhereItsLabelReachesIntoIt) {
    const int dpi = window.Dpi();
    const std::pair<std::string_view, POINT> overlaps[] = {
        {"Text1", {1860, 300}}, {"Text1", {1801, 600}}, {"Text2", {1805, 900}}};
    for (const auto& [input, twips] : overlaps) {
        const POINT point{MulDiv(twips.x, dpi, 1440), MulDiv(twips.y, dpi, 1440)};
        EXPECT_EQ(ChildWindowFromPointEx(window.Handle(), point, CWP_SKIPINVISIBLE), Control(input))
            << input << " at " << twips.x << "," << twips.y;
    }
}

// What the system's accessibility proxy (oleacc), which a screen reader
// asks, tells of a control in this process.
std::wstring AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr)
        return L"<no accessible object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text = L"<no name>";
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr)
        text.assign(name, SysStringLen(name));
    SysFreeString(name);
    accessible->Release();
    return text;
}

// The proxy names an edit control after the label just before it in Z
// order, and a button after its caption.
TEST_F(Win32FormWindowTest, AScreenReaderHearsEachTextBoxByItsLabelAndEachButtonByItsCaption) {
    const std::pair<std::string_view, const wchar_t*> names[] = {{"Text1", L"Фамилия,Имя"},
                                                                 {"Text2", L"Год рождения"},
                                                                 {"Text3", L"Рост"},
                                                                 {"Command1", L"добавить"},
                                                                 {"Command2", L"Найти"}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(AccessibleName(Control(control)), name) << control;
}

// Whether the font that the system draws with has a glyph for every letter
// of the text, rather than an empty box.
bool HasEveryGlyph(HFONT font, const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    std::vector<WORD> glyphs(text.size());
    const DWORD converted = GetGlyphIndicesW(screen, text.c_str(), static_cast<int>(text.size()),
                                             glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return converted == text.size() &&
           std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

TEST_F(Win32FormWindowTest, ShowsEveryCaptionInTheMessageFont) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    for (const ControlDescription& description : Form2Description().controls) {
        SCOPED_TRACE(std::string(description.name));
        HWND control = Control(description.name);
        EXPECT_EQ(WindowText(control), ToWide(description.caption));
        auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW used{};
        GetObjectW(font, sizeof used, &used);
        EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
        EXPECT_TRUE(HasEveryGlyph(font, WindowText(control))) << "the font lacks letters";
    }
}

TEST_F(Win32FormWindowTest, FocusStartsInText1AndTabFollowsTheTabIndex) {
    EXPECT_EQ(FocusedControl(), Control("Text1"));
    for (std::string_view next : {"Text2", "Combo1", "Text3", "Command1", "Command2", "Text1"}) {
        PressKey(VK_TAB);
        EXPECT_EQ(FocusedControl(), Control(next)) << "Tab should reach " << next;
    }
}

TEST_F(Win32FormWindowTest, EnterAndEscapeNeitherClickNorClose) {
    RecordClicks();
    for (std::string_view box : {"Text1", "Combo1", "Text3"}) {
        SetFocus(Control(box));
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
    }
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
}

TEST_F(Win32FormWindowTest, ClicksRunTheButtonsHandlers) {
    RecordClicks();
    SendMessageW(Control("Command2"), BM_CLICK, 0, 0);
    SendMessageW(Control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, (std::vector<std::string_view>{"Command2", "Command1"}));
}

TEST_F(Win32FormWindowTest, TextsGoInAndComeOutUnchanged) {
    const std::u16string texts[] = {u"Иванов-Петров Иван", u"\U0001F600 <b>&amp;</b>", u"  ",
                                    std::u16string(40000, u'x')};
    for (const std::u16string& text : texts) {
        for (std::string_view control : {"Text1", "Text2", "Text3", "Combo1"}) {
            window.SetText(control, text);
            EXPECT_EQ(window.Text(control), text) << control;
        }
    }
    window.SetText("Combo1", u"female");
    EXPECT_EQ(WindowText(Control("Combo1")), L"female");
}

TEST_F(Win32FormWindowTest, Combo1StartsEmptyWithMaleAndFemaleInOrder) {
    HWND combo = Control("Combo1");
    EXPECT_EQ(window.Text("Combo1"), u"");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    wchar_t item[16]{};
    SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"Male");
    SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"Female");

    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(window.Text("Combo1"), u"Female");
}

TEST_F(Win32FormWindowTest, OnlyTextBoxesAndTheComboHaveText) {
    for (std::string_view control : {"Label1", "Command1", "Frame1", "NoSuchControl"}) {
        SCOPED_TRACE(control);
        ExpectRunTimeError(RunTimeErrorNumber::ObjectRequired, [&] { (void)window.Text(control); });
    }
}

TEST_F(Win32FormWindowTest, OnlyButtonsTakeAClickHandler) {
    for (std::string_view control : {"Text1", "Label5", "Frame1", "NoSuchControl"}) {
        SCOPED_TRACE(control);
        ExpectRunTimeError(RunTimeErrorNumber::ObjectRequired,
                           [&] { window.OnClick(control, [] {}); });
    }
}

TEST_F(Win32FormWindowTest, AMessageBoxHasThePromptOneOkNoIconAndBlocksTheForm) {
    {
        BoxAnswerer answerer(window.Handle());
        window.ShowMessage(u"Запись добавлена");
        ASSERT_EQ(answerer.boxes.size(), 1u);
        const MessageBoxView& box = answerer.boxes[0];
        EXPECT_EQ(box.title, ToWide(ApplicationTitle));
        EXPECT_EQ(box.text, L"Запись добавлена");
        EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_FALSE(box.hasIcon);
        EXPECT_FALSE(answerer.ownerTookInputWhileABoxWasOpen);
    }
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

TEST_F(Win32FormWindowTest, ARunTimeErrorInAClickIsReportedAndTheWindowCarriesOn) {
    int runs = 0;
    window.OnClick("Command1", [&runs] {
        ++runs;
        RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange);
    });
    BoxAnswerer answerer(window.Handle());
    SendMessageW(Control("Command1"), BM_CLICK, 0, 0);
    SendMessageW(Control("Command1"), BM_CLICK, 0, 0);

    EXPECT_EQ(runs, 2);
    ASSERT_EQ(answerer.boxes.size(), 2u);
    EXPECT_EQ(answerer.boxes[0].title, ToWide(ApplicationTitle));
    EXPECT_EQ(answerer.boxes[0].text, L"Run-time error '9':\n\nSubscript out of range");
    EXPECT_EQ(answerer.boxes[0].buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(answerer.boxes[0].hasIcon) << "the error box shows the error icon";
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
}

// A control's rectangle in the form's client area.
RECT RectInForm(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Tells the form that it is now on a monitor of another DPI, as the system
// does, with the rectangle that gives it its client area at that DPI.
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

int ScreenDpiForTest() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LONG FontHeightOf(HWND control) {
    auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW used{};
    GetObjectW(font, sizeof used, &used);
    return used.lfHeight;
}

// Moved to a monitor of 144 DPI and back, the form lays itself out again
// from its twips, in the message font at that DPI, and loses nothing the
// user has typed, selected or focused.
TEST_F(Win32FormWindowTest, LaysItselfOutAgainOnEachDpiItIsMovedTo) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int screenDpi = ScreenDpiForTest();
    window.SetText("Text1", u"Ann");
    window.SetText("Text2", u"170");
    window.SetText("Text3", u"Bob");
    SetFocus(Control("Text2"));
    SendMessageW(Control("Text2"), EM_SETSEL, 1, 3);

    for (const int dpi : {144, screenDpi}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        MoveToDpi(window.Handle(), dpi);
        Pump();
        EXPECT_EQ(window.Dpi(), dpi);
        const auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
        RECT client{};
        GetClientRect(window.Handle(), &client);
        EXPECT_NEAR(client.right, pixels(4575), 1);
        EXPECT_NEAR(client.bottom, pixels(4155), 1);
        const LONG fontHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, screenDpi);
        for (const ExpectedControl& expected : ExpectedControls) {
            SCOPED_TRACE(std::string(expected.name));
            const RECT rect = RectInForm(Control(expected.name));
            EXPECT_NEAR(rect.left, pixels(expected.twipsInForm.left), 1);
            EXPECT_NEAR(rect.top, pixels(expected.twipsInForm.top), 1);
            EXPECT_NEAR(rect.right, pixels(expected.twipsInForm.right), 1);
            if (expected.name != "Combo1") {
                EXPECT_NEAR(rect.bottom, pixels(expected.twipsInForm.bottom), 1);
            }
            EXPECT_NEAR(FontHeightOf(Control(expected.name)), fontHeight, 1);
        }
        EXPECT_EQ(window.Text("Text1"), u"Ann");
        EXPECT_EQ(window.Text("Text2"), u"170");
        EXPECT_EQ(window.Text("Text3"), u"Bob");
        EXPECT_EQ(GetFocus(), Control("Text2"));
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(Control("Text2"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 1U);
        EXPECT_EQ(end, 3U);
    }
}

// The combo box's open list stays open, with its choice, under the box at
// its new place and size.
TEST_F(Win32FormWindowTest, AnOpenComboListStaysOpenAcrossADpiChange) {
    HWND combo = Control("Combo1");
    SetFocus(combo);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    for (const int dpi : {144, ScreenDpiForTest()}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        MoveToDpi(window.Handle(), dpi);
        Pump();
        EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
        EXPECT_NEAR(RectInForm(combo).left, MulDiv(1800, dpi, 1440), 1);
    }
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

} // namespace
