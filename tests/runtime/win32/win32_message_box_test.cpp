#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_answerer.h"
#include "runtime/core/application.h"
#include "runtime/win32/win32_box_layout.h"
#include "runtime/win32/win32_dpi.h"
#include "runtime/win32/win32_form_window.h"
#include "runtime/win32/win32_text.h"
#include "runtime/win32/win32_text_view_box.h"
#include "win32_probe.h"
#include "window/form2_description.h"

// The boxes the form shows: each fits the work area and shows its title; a
// prompt too large for a message box is shown whole in a scrollable view;
// every box is dismissed and copied by the keys of a system message box.

namespace {

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The width of the title in the caption's font.
int TitleWidth(std::wstring_view title) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32W(screen, title.data(), static_cast<int>(title.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return size.cx;
}

// What the test saw of one box while it was open.
struct SeenBox {
    MessageBoxView view;
    RECT frame{};
    RECT ok{};
};

class MessageBoxTest : public ::testing::Test {
protected:
    Win32FormWindow window{Form2Description()};

    void SetUp() override { window.Show(SW_SHOWNORMAL); }

    SeenBox Show(std::u16string_view prompt) {
        SeenBox seen;
        BoxAnswerer answerer(window.Handle(), [&seen](HWND box, std::size_t) {
            seen.frame = WindowRect(box);
            seen.ok = WindowRect(GetDlgItem(box, IDOK));
            PressOk(box);
        });
        window.ShowMessage(prompt);
        if (!answerer.boxes.empty()) seen.view = answerer.boxes.front();
        return seen;
    }
};

std::u16string Lines(int count) {
    std::u16string text;
    for (int line = 1; line <= count; ++line)
        text += u"Иванов " + std::u16string(1, static_cast<char16_t>(u'0' + line % 10)) + u"\n";
    return text;
}

std::u16string Words(std::size_t letters) {
    std::u16string text;
    while (text.size() < letters)
        text += u"Петров ";
    text.resize(letters);
    return text;
}

struct Prompt {
    const char* what;
    std::u16string text;
    bool tooLargeForAMessageBox;
};

const Prompt Prompts[] = {
    {"confirmation", u"Запись добавлена", false},
    {"report", u"Найдена пара мужчин: Иванов Иван Иванович   Петров Пётр Петрович", false},
    {"1,950 letters without blanks", std::u16string(1950, u'Ж'), true},
    {"200 lines", Lines(200), true},
    {"95,000 characters", Words(95'000), true},
    {"1,500 line breaks and X", std::u16string(1500, u'\n') + u"X", true},
};

TEST_F(MessageBoxTest, EveryBoxFitsTheWorkAreaAndShowsItsTitleAndWholeText) {
    const RECT work = WorkArea();
    const int titleRoom = TitleWidth(ToWide(ApplicationTitle)) + 3 * GetSystemMetrics(SM_CXSIZE) +
                          2 * GetSystemMetrics(SM_CXFIXEDFRAME);
    for (const Prompt& prompt : Prompts) {
        SCOPED_TRACE(prompt.what);
        const SeenBox box = Show(prompt.text);
        EXPECT_TRUE(Contains(work, box.frame)) << "the box leaves the work area";
        EXPECT_TRUE(Contains(box.frame, box.ok)) << "OK lies outside its box";
        EXPECT_GE(box.frame.right - box.frame.left, titleRoom) << "no room for the title";
        EXPECT_EQ(box.view.title, ToWide(ApplicationTitle));
        EXPECT_EQ(box.view.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(box.view.textIsInAView, prompt.tooLargeForAMessageBox);
        // The view breaks lines too wide for it on screen, but its text, as a
        // screen reader reads it, is the prompt's, with CR LF line breaks.
        const std::wstring expected =
            box.view.textIsInAView ? WithCrLfLineBreaks(ToWide(prompt.text)) : ToWide(prompt.text);
        EXPECT_TRUE(box.view.text == expected) << "the box does not hold the prompt as it is";
    }
}

// Real key presses, through the system's input queue to the active window.
void Tap(BYTE key, DWORD flags = 0) {
    keybd_event(key, 0, flags, 0);
    keybd_event(key, 0, flags | KEYEVENTF_KEYUP, 0);
}

void TapWithControl(BYTE key, DWORD flags = 0) {
    keybd_event(VK_CONTROL, 0, 0, 0);
    Tap(key, flags);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

void ClickCloseButtonOf(HWND box) {
    const RECT frame = WindowRect(box);
    ClickAt({frame.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 1,
             frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
}

struct Dismissal {
    const char* how;
    void (*dismiss)(HWND box);
};

// OK has the focus when a box opens; Tab takes it to the view of a long
// prompt (and leaves it on OK in a message box, which has nothing else).
const Dismissal Dismissals[] = {
    {"Enter", [](HWND) { Tap(VK_RETURN); }},
    {"keypad Enter", [](HWND) { Tap(VK_RETURN, KEYEVENTF_EXTENDEDKEY); }},
    {"Escape", [](HWND) { Tap(VK_ESCAPE); }},
    {"Space", [](HWND) { Tap(VK_SPACE); }},
    {"Tab, Enter",
     [](HWND) {
         Tap(VK_TAB);
         Tap(VK_RETURN);
     }},
    {"Tab, Escape",
     [](HWND) {
         Tap(VK_TAB);
         Tap(VK_ESCAPE);
     }},
    {"the close button", ClickCloseButtonOf},
};

const std::u16string ShortPrompt = u"Найдена пара женщин: Анна   Мария";
// A name may hold "&", which a dialog box takes as the mark of an access key.
const std::u16string AmpersandPrompt = u"Найдена пара мужчин: A & B   C & D";
const std::u16string LongPrompt = Lines(200);

const char* Kind(const std::u16string& prompt) {
    if (prompt == ShortPrompt) return ", short";
    return prompt == AmpersandPrompt ? ", with ampersands" : ", long";
}

TEST_F(MessageBoxTest, TheKeysAndTheCloseButtonDismissEveryBox) {
    for (const std::u16string& prompt : {ShortPrompt, AmpersandPrompt, LongPrompt}) {
        for (const Dismissal& dismissal : Dismissals) {
            SCOPED_TRACE(std::string(dismissal.how) + Kind(prompt));
            BoxAnswerer answerer(
                window.Handle(), [&dismissal](HWND box, std::size_t) { dismissal.dismiss(box); },
                BoxAnswerer::Delivery::ThroughInput);
            window.ShowMessage(prompt);
            EXPECT_EQ(answerer.boxes.size(), 1u);
            EXPECT_EQ(answerer.boxesThatStayedOpen, 0) << "the box stayed open";
        }
    }
}

// Wine's dialog manager looks for access keys in the text of every static
// control, even one that shows its text as typed (SS_NOPREFIX): in Wine's own
// message box, "A & B" makes Space the key of the text, and Space no longer
// presses OK. The program's boxes close on Space whatever their text holds
// (the test above); this shows Wine's box as it is, and fails once Wine
// leaves such a text without access keys.
TEST_F(MessageBoxTest, WinesOwnBoxTakesAnAmpersandInItsTextAsTheKeyOfTheText) {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr)
        GTEST_SKIP() << "not under Wine";
    LONG textStyle = 0;
    BoxAnswerer answerer(
        window.Handle(),
        [&textStyle](HWND box, std::size_t) {
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t text[16]{};
                GetWindowTextW(child, text, 16);
                if (std::wstring_view(text) == L"A & B")
                    textStyle = GetWindowLongW(child, GWL_STYLE);
            }
            Tap(VK_SPACE);
        },
        BoxAnswerer::Delivery::ThroughInput);
    MessageBoxW(window.Handle(), L"A & B", L"Same Height", MB_OK);
    EXPECT_NE(textStyle & SS_NOPREFIX, 0) << "the box's text is not shown as typed";
    EXPECT_EQ(answerer.boxesThatStayedOpen, 1) << "Space now closes Wine's own box";
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(the clipboard could not be opened)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* letters = static_cast<const wchar_t*>(GlobalLock(data))) text = letters;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

// As a message box on Windows copies itself; Wine's copies nothing.
TEST_F(MessageBoxTest, CtrlCAndCtrlInsertCopyTheWholeBox) {
    const std::pair<const char*, void (*)()> copyKeys[] = {
        {"Ctrl+C", [] { TapWithControl('C'); }},
        {"Ctrl+Insert", [] { TapWithControl(VK_INSERT, KEYEVENTF_EXTENDEDKEY); }},
    };
    for (const std::u16string& prompt : {ShortPrompt, LongPrompt}) {
        for (const auto& [name, copy] : copyKeys) {
            SCOPED_TRACE(std::string(name) + (prompt == ShortPrompt ? ", short" : ", long"));
            EmptyTheClipboard();
            BoxAnswerer answerer(
                window.Handle(),
                [copy = copy](HWND, std::size_t) {
                    copy();
                    Tap(VK_RETURN);
                },
                BoxAnswerer::Delivery::ThroughInput);
            window.ShowMessage(prompt);
            const std::wstring rule = L"---------------------------\r\n";
            EXPECT_TRUE(ClipboardText() == rule + L"Same Height\r\n" + rule + ToWide(prompt) +
                                               L"\r\n" + rule + L"OK   \r\n" + rule)
                << "copied: " << testing::PrintToString(ClipboardText());
        }
    }
}

// Text selected in the view of a long prompt copies as the prompt has it,
// without the line breaks the view adds to fit its width.
TEST_F(MessageBoxTest, CopyingTheWholeViewGivesThePromptWithoutTheViewsLineBreaks) {
    for (const std::u16string& prompt : {std::u16string(1950, u'Ж'), Words(5'000)}) {
        EmptyTheClipboard();
        BoxAnswerer answerer(window.Handle(), [](HWND box, std::size_t) {
            HWND view = GetNextDlgTabItem(box, GetDlgItem(box, IDOK), FALSE);
            SetFocus(view);
            SendMessageW(view, EM_SETSEL, 0, -1);
            TapWithControl('C');
            Tap(VK_RETURN);
        });
        window.ShowMessage(prompt);
        EXPECT_TRUE(ClipboardText() == ToWide(prompt))
            << "copied: " << testing::PrintToString(ClipboardText().substr(0, 200));
    }
}

struct Part {
    std::size_t from;
    std::size_t to;
    const wchar_t* text;
};

TEST(WrappedTextTest, APartLeavesOutOnlyTheBreaksTheViewAdded) {
    // "ab" and "cd" are one line of the text broken by the view; "ef" is a
    // line of its own.
    const WrappedText wrapped{L"ab\r\ncd\r\nef", {2}};
    const Part parts[] = {
        {0, 10, L"abcd\r\nef"}, {1, 5, L"bc"}, {3, 5, L"c"},         {0, 3, L"ab"},
        {5, 8, L"d\r\n"},       {2, 4, L""},   {4, 99, L"cd\r\nef"}, {7, 7, L""},
    };
    for (const Part& part : parts) {
        EXPECT_EQ(wrapped.Unwrapped(part.from, part.to), part.text)
            << "from " << part.from << " to " << part.to;
    }
}

// The view breaks long words wherever they reach the edge, but never inside
// a letter: not between the halves of a surrogate pair (an emoji), nor
// before a combining mark. Every line still fits the width, and the view
// reads as the text.
TEST(WrappedTextTest, TheViewBreaksNoLetterAndEveryLineFits) {
    std::wstring word;
    for (int i = 0; i < 200; ++i)
        word += (i % 3 == 0) ? L"\U0001F600" : (i % 3 == 1 ? L"e\u0301" : L"xy");
    const std::wstring text = word + L" " + word;
    HFONT font = CreateMessageFontForDpi(WindowDpi(nullptr));
    ASSERT_NE(font, nullptr);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    for (const int width : {1, 7, 23, 61, 150, 400}) {
        SCOPED_TRACE(width);
        const WrappedText wrapped = WrappedToWidth(text, font, width);
        ASSERT_FALSE(wrapped.addedBreaks.empty());
        EXPECT_EQ(wrapped.Unwrapped(0, wrapped.shown.size()), text);
        std::size_t lineStart = 0;
        for (const std::size_t added : wrapped.addedBreaks) {
            const wchar_t before = wrapped.shown[added - 1];
            const wchar_t after = wrapped.shown[added + 2];
            EXPECT_FALSE(before >= 0xD800 && before <= 0xDBFF) << "a pair split at " << added;
            EXPECT_NE(after, L'\u0301') << "a mark cut off at " << added;
            const std::wstring_view line(wrapped.shown.data() + lineStart, added - lineStart);
            SIZE size{};
            GetTextExtentPoint32W(screen, line.data(), static_cast<int>(line.size()), &size);
            const bool oneLetter = line.size() <= 2;
            if (!oneLetter) {
                EXPECT_LE(size.cx, width) << "line at " << lineStart;
            }
            lineStart = added + 2;
        }
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
}

} // namespace
