#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/win32/win32_form_window.h"
#include "win32_probe.h"
#include "window/form2_description.h"

// The form under real keys, wheel and clipboard: input goes through the
// system's queue (keybd_event, mouse_event) to the focused control, as a
// user's does. Wine honours all of it on its virtual desktop.

namespace {

constexpr BYTE Marker = VK_F24;

bool IsMarker(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
           message.wParam == Marker;
}

class KeysTest : public ::testing::Test {
public:
    Win32FormWindow window{Form2Description()};
    std::vector<std::string_view> clicks;

    void SetUp() override {
        window.Show(SW_SHOWNORMAL);
        SetForegroundWindow(window.Handle());
        for (std::string_view button : {"Command1", "Command2"})
            window.OnClick(button, [this, button] { clicks.push_back(button); });
        Pump();
    }

    HWND Control(std::string_view name) const { return window.Control(name); }
    HWND ComboEdit() const { return GetWindow(Control("Combo1"), GW_CHILD); }

    // Handles what arrives on this thread, as the program's loop does, until
    // the condition holds; false when it still does not after ten seconds.
    template <typename Condition> bool PumpUntil(Condition done) {
        const DWORD until = GetTickCount() + 10000;
        while (!done()) {
            if (GetTickCount() >= until) return false;
            MSG message{};
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                Handle(message);
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            }
        }
        return true;
    }

    // Handles what arrives until the thread has seen everything sent before:
    // the input queue keeps its order, so once the release of a marker key
    // that nothing uses arrives, every key pressed before it has been handled.
    void Pump() {
        markerReleased_ = false;
        keybd_event(Marker, 0, 0, 0);
        keybd_event(Marker, 0, KEYEVENTF_KEYUP, 0);
        if (!PumpUntil([this] { return markerReleased_; }))
            ADD_FAILURE() << "the keys did not arrive";
    }

    void Focus(std::string_view control) {
        SetFocus(Control(control));
        Pump();
    }
    void Tap(BYTE key, DWORD flags = 0) {
        Press(key, flags);
        Pump();
    }
    void TapWith(BYTE modifier, BYTE key, DWORD flags = 0) {
        PressWith(modifier, key, flags);
        Pump();
    }
    static void Press(BYTE key, DWORD flags = 0) {
        keybd_event(key, 0, flags, 0);
        keybd_event(key, 0, flags | KEYEVENTF_KEYUP, 0);
    }
    static void PressWith(BYTE modifier, BYTE key, DWORD flags = 0) {
        keybd_event(modifier, 0, 0, 0);
        Press(key, flags);
        keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
    }
    void Type(std::wstring_view letters) {
        for (wchar_t letter : letters) {
            const SHORT key = VkKeyScanW(letter);
            if (key & 0x100) {
                TapWith(VK_SHIFT, LOBYTE(key));
            } else {
                Tap(LOBYTE(key));
            }
        }
    }
    std::wstring TextOf(std::string_view control) const { return WindowText(Control(control)); }

private:
    bool markerReleased_ = false;

    void Handle(MSG& message) {
        if (IsMarker(message)) {
            markerReleased_ = markerReleased_ || message.message == WM_KEYUP;
            return;
        }
        if (window.HandleDialogMessage(message)) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
};

TEST_F(KeysTest, ReturnKeypadEnterAndSpaceOnAFocusedButtonClickIt) {
    Focus("Command1");
    Tap(VK_RETURN);
    Tap(VK_RETURN, KEYEVENTF_EXTENDEDKEY); // keypad Enter
    Tap(VK_SPACE);
    Focus("Command2");
    Tap(VK_RETURN);
    Tap(VK_RETURN, KEYEVENTF_EXTENDEDKEY);
    EXPECT_EQ(clicks, (std::vector<std::string_view>{"Command1", "Command1", "Command1", "Command2",
                                                     "Command2"}));
}

// Ctrl and Shift make no difference to Return or Enter on a focused button,
// as in the Qt build; with Alt the key is the window's, never a click.
TEST_F(KeysTest, ReturnWithCtrlOrShiftClicksAFocusedButtonAndWithAltDoesNothing) {
    struct Key {
        const char* name;
        BYTE modifier;
        DWORD flags;
        bool clicks;
    };
    const Key keys[] = {
        {"Ctrl+Return", VK_CONTROL, 0, true},
        {"Shift+Return", VK_SHIFT, 0, true},
        {"Ctrl+keypad Enter", VK_CONTROL, KEYEVENTF_EXTENDEDKEY, true},
        {"Alt+Return", VK_MENU, 0, false},
        {"Alt+keypad Enter", VK_MENU, KEYEVENTF_EXTENDEDKEY, false},
    };
    std::size_t expected = 0;
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        Focus("Command1");
        TapWith(key.modifier, VK_RETURN, key.flags);
        if (key.clicks) ++expected;
        EXPECT_EQ(clicks.size(), expected);
    }
}

TEST_F(KeysTest, ReturnKeypadEnterAndEscapeInAnInputDoNothing) {
    for (std::string_view input : {"Text1", "Text2", "Combo1", "Text3"}) {
        SCOPED_TRACE(input);
        Focus(input);
        Type(L"Ab1");
        Tap(VK_RETURN);
        Tap(VK_RETURN, KEYEVENTF_EXTENDEDKEY);
        Tap(VK_ESCAPE);
        EXPECT_EQ(TextOf(input), L"Ab1");
    }
    EXPECT_TRUE(clicks.empty()) << "no button is the default";
    EXPECT_TRUE(IsWindowVisible(window.Handle())) << "no button is the cancel button";
}

TEST_F(KeysTest, AltWithALetterOrDigitTypesNothing) {
    for (std::string_view input : {"Text1", "Combo1", "Text3"}) {
        SCOPED_TRACE(input);
        Focus(input);
        TapWith(VK_MENU, 'D');
        TapWith(VK_MENU, 'F');
        TapWith(VK_MENU, '1');
        EXPECT_EQ(TextOf(input), L"");
    }
    EXPECT_TRUE(clicks.empty());
}

// Closes the shortcut menu that opens on this thread while it lives, and
// says whether one opened.
class ContextMenuCloser {
public:
    ContextMenuCloser() {
        opened_ = false;
        timer_ = SetTimer(nullptr, 0, 20, &OnTimer);
    }
    ~ContextMenuCloser() { KillTimer(nullptr, timer_); }
    ContextMenuCloser(const ContextMenuCloser&) = delete;
    ContextMenuCloser& operator=(const ContextMenuCloser&) = delete;
    bool Opened() const { return opened_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) {
            opened_ = true;
            EndMenu();
        }
    }
    static inline bool opened_ = false;
    UINT_PTR timer_ = 0;
};

TEST_F(KeysTest, ShiftF10AndTheMenuKeyOpenAnInputsContextMenu) {
    for (std::string_view input : {"Text1", "Combo1", "Text3"}) {
        for (const bool menuKey : {false, true}) {
            SCOPED_TRACE(std::string(input) + (menuKey ? ", the Menu key" : ", Shift+F10"));
            Focus(input);
            const ContextMenuCloser closer;
            // The menu's own loop takes the keys that come while it is open,
            // Pump's marker key too: so first the menu, then the marker.
            if (menuKey) {
                Press(VK_APPS, KEYEVENTF_EXTENDEDKEY);
            } else {
                PressWith(VK_SHIFT, VK_F10);
            }
            EXPECT_TRUE(PumpUntil([&closer] { return closer.Opened(); })) << "no menu opened";
            Pump();
        }
    }
}

struct ComboKeys {
    const wchar_t* typed;
    int highlighted; // the list item highlighted once the list is open; -1 none
    bool stepDown;   // Down once the list is open
    const wchar_t* picked;
};

// Opening the list highlights the item that the typed text starts, ignoring
// case, or none; Return then takes the highlighted item, or keeps the text.
const ComboKeys ComboCases[] = {
    {L"Fe", 1, false, L"Female"}, {L"fe", 1, false, L"Female"}, {L"MA", 0, false, L"Male"},
    {L"x", -1, false, L"x"},      {L"", -1, true, L"Male"},
};

TEST_F(KeysTest, OpeningTheComboListHighlightsTheItemTheTextStarts) {
    HWND combo = Control("Combo1");
    for (const ComboKeys& keys : ComboCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(keys.typed)));
        SetWindowTextOf(combo, L"");
        Focus("Combo1");
        Type(keys.typed);
        TapWith(VK_MENU, VK_DOWN, KEYEVENTF_EXTENDEDKEY);
        ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << "Alt+Down opens the list";
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), keys.highlighted);
        if (keys.stepDown) Tap(VK_DOWN, KEYEVENTF_EXTENDEDKEY);
        Tap(VK_RETURN);
        EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(TextOf("Combo1"), keys.picked);
    }
    EXPECT_TRUE(clicks.empty());
}

// The system copies the highlighted item into the edit part as the list
// opens; the typed text comes back unless an item is picked.
struct ListClosing {
    const wchar_t* typed;
    BYTE closeKey;
    const wchar_t* kept;
};

const ListClosing ListClosings[] = {
    {L"male", VK_ESCAPE, L"male"},
    {L"fem", VK_ESCAPE, L"fem"},
    {L"male", VK_TAB, L"male"},
    {L"male", VK_RETURN, L"Male"},
};

TEST_F(KeysTest, F4OpensTheComboListAndAListClosedWithoutAPickKeepsTheTypedText) {
    HWND combo = Control("Combo1");
    for (const ListClosing& closing : ListClosings) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(closing.typed)) + " closed by key " +
                     std::to_string(closing.closeKey));
        SetWindowTextOf(combo, L"");
        Focus("Combo1");
        Type(closing.typed);
        Tap(VK_F4);
        ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        Tap(closing.closeKey);
        EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(TextOf("Combo1"), closing.kept);
    }
    EXPECT_TRUE(clicks.empty());
}

// The wheel over a combo box that does not have the focus neither steps its
// text nor takes the focus: whether it comes from the mouse over the combo
// or is sent to the combo or its edit part by a program.
TEST_F(KeysTest, TheWheelOverAnUnfocusedComboChangesNothing) {
    HWND combo = Control("Combo1");
    RECT rect{};
    GetWindowRect(combo, &rect);
    const POINT centre{(rect.left + rect.right) / 2, rect.top + 8};
    for (const wchar_t* text : {L"", L"Male", L"Female"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        SetWindowTextOf(combo, text);
        Focus("Text1");
        for (const int delta : {-WHEEL_DELTA, WHEEL_DELTA}) {
            WheelAt(centre, delta);
            const auto wParam = static_cast<WPARAM>(static_cast<WORD>(delta)) << 16;
            const LPARAM lParam = MAKELPARAM(centre.x, centre.y);
            PostMessageW(combo, WM_MOUSEWHEEL, wParam, lParam);
            PostMessageW(ComboEdit(), WM_MOUSEWHEEL, wParam, lParam);
            Pump();
        }
        EXPECT_EQ(TextOf("Combo1"), text);
        EXPECT_EQ(GetFocus(), Control("Text1"));
    }
}

// With the focus, the wheel steps through the items as the arrow keys do,
// whether the pointer is over the combo's edit part or its arrow.
TEST_F(KeysTest, TheWheelOverTheFocusedComboStepsThroughTheItems) {
    HWND combo = Control("Combo1");
    RECT rect{};
    GetWindowRect(combo, &rect);
    const POINT overEdit{rect.left + 8, rect.top + 8};
    const POINT overArrow{rect.right - 4, rect.top + 8};
    for (const POINT where : {overEdit, overArrow}) {
        SCOPED_TRACE(where.x == overEdit.x ? "over the edit part" : "over the arrow");
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ASSERT_EQ(TextOf("Combo1"), L"");
        Focus("Combo1");
        WheelAt(where, -WHEEL_DELTA);
        Pump();
        EXPECT_EQ(TextOf("Combo1"), L"Male");
        WheelAt(where, -WHEEL_DELTA);
        Pump();
        EXPECT_EQ(TextOf("Combo1"), L"Female");
        WheelAt(where, WHEEL_DELTA);
        Pump();
        EXPECT_EQ(TextOf("Combo1"), L"Male");
        EXPECT_EQ(GetFocus(), ComboEdit());
    }
}

void PutOnTheClipboard(std::wstring_view text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* letters = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(letters, text.size());
    letters[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// A one-line input keeps the first line of a pasted text, whether the text
// breaks its lines with CR LF, LF or CR.
TEST_F(KeysTest, PastingSeveralLinesIntoAnInputKeepsTheFirst) {
    const std::pair<std::string_view, const wchar_t*> pastes[] = {
        {"Text3", L"175\r\nsecond line"}, {"Text1", L"Ivan\r\nPetrov"},  {"Text1", L"Ivan\nPetrov"},
        {"Text2", L"1980\rthe year"},     {"Combo1", L"Female\r\nMale"},
    };
    for (const auto& [input, pasted] : pastes) {
        SCOPED_TRACE(std::string(input) + " " + testing::PrintToString(std::wstring(pasted)));
        const std::wstring_view text = pasted;
        const std::wstring firstLine(text.substr(0, text.find_first_of(L"\r\n")));
        const std::pair<const char*, void (*)(KeysTest&)> ways[] = {
            {"Ctrl+V", [](KeysTest& test) { test.TapWith(VK_CONTROL, 'V'); }},
            {"Shift+Insert",
             [](KeysTest& test) { test.TapWith(VK_SHIFT, VK_INSERT, KEYEVENTF_EXTENDEDKEY); }},
            {"WM_PASTE", [](KeysTest&) { SendMessageW(GetFocus(), WM_PASTE, 0, 0); }},
        };
        for (const auto& [how, paste] : ways) {
            SetWindowTextOf(Control(input), L"");
            Focus(input);
            PutOnTheClipboard(pasted);
            paste(*this);
            EXPECT_EQ(TextOf(input), firstLine) << how;
        }
    }
}

// What the clipboard may hold with no text on it, or a clipboard that
// another program holds open, so that it cannot be read.
struct NoTextOffer {
    const char* name;
    void (*offer)();
};

void PutAPictureOnTheClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HBITMAP picture = CreateBitmap(4, 4, 1, 32, nullptr);
    SetClipboardData(CF_BITMAP, picture);
    CloseClipboard();
}

void EmptyTheClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

// A paste with nothing to paste must not replace the selected text with
// nothing, by whichever way it comes (the menu's Paste sends WM_PASTE).
TEST_F(KeysTest, APasteWithNoTextOnOfferChangesNothing) {
    const NoTextOffer offers[] = {
        {"a picture", PutAPictureOnTheClipboard},
        {"nothing", EmptyTheClipboard},
        {"an empty text", [] { PutOnTheClipboard(L""); }},
    };
    const std::pair<const char*, void (*)(KeysTest&)> ways[] = {
        {"Ctrl+V", [](KeysTest& test) { test.TapWith(VK_CONTROL, 'V'); }},
        {"Shift+Insert",
         [](KeysTest& test) { test.TapWith(VK_SHIFT, VK_INSERT, KEYEVENTF_EXTENDEDKEY); }},
        {"WM_PASTE", [](KeysTest&) { SendMessageW(GetFocus(), WM_PASTE, 0, 0); }},
    };
    for (std::string_view input : {"Text1", "Combo1"}) {
        for (const NoTextOffer& offer : offers) {
            for (const auto& [how, paste] : ways) {
                SCOPED_TRACE(std::string(how) + " of " + offer.name + " into " +
                             std::string(input));
                SetWindowTextOf(Control(input), L"AB");
                Focus(input);
                SendMessageW(GetFocus(), EM_SETSEL, 1, 2);
                offer.offer();
                paste(*this);
                EXPECT_EQ(TextOf(input), L"AB");
            }
        }
    }
}

// Another program holds the clipboard open: nothing can be read from it.
TEST_F(KeysTest, APasteFromAClipboardThatCannotBeOpenedChangesNothing) {
    PutOnTheClipboard(L"never pasted");
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([opened, done] {
        const BOOL open = OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(done, INFINITE);
        if (open) CloseClipboard();
    });
    ASSERT_EQ(WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);
    SetWindowTextOf(Control("Text1"), L"AB");
    Focus("Text1");
    SendMessageW(GetFocus(), EM_SETSEL, 1, 2);
    SendMessageW(GetFocus(), WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf("Text1"), L"AB");
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);
}

} // namespace
