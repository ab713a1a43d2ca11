#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "form2_program_fixture.h"

// The whole Windows program, started as its user starts it and driven from
// this separate process through its windows, as an automation tool drives it.
// What a user does with the form, key by key, is the user-action table
// (tests/program/user_actions.py), which this build runs under Wine with real
// input; here stays what real input would take too long for (a full table)
// and what the table does not set up (the screen's dots per inch).

namespace {

TEST_F(Form2ProgramTest, ShowsForm2AtTheScreenDpiWithTheFocusInText1AndEndsWhenClosed) {
    EXPECT_EQ(WindowText(program.Form()), L"Form2");
    const SIZE client = ClientSize(program.Form());
    EXPECT_EQ(client.cx, MulDiv(4575, ScreenDpi(), 1440));
    EXPECT_EQ(client.cy, MulDiv(4155, ScreenDpi(), 1440));

    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(program.ThreadId(), &thread));
    EXPECT_EQ(thread.hwndFocus, Control("Text1"));

    EXPECT_EQ(program.Close(), 0);
    EXPECT_FALSE(program.IsRunning());
}

TEST_F(Form2ProgramTest, AFullTableShowsError9AndTheProgramKeepsRunningWithNothingChanged) {
    Type(L"A", L"1990", L"Male", L"180");
    ASSERT_NO_FATAL_FAILURE(AddQuickly());
    Type(L"B", L"1991", L"Male", L"180");
    ASSERT_NO_FATAL_FAILURE(AddQuickly());
    // 999 more people whom the search never pairs fill the table's 1001 slots.
    SetWindowTextOf(Control("Combo1"), L"");
    for (int added = 2; added < 1001; ++added)
        ASSERT_NO_FATAL_FAILURE(AddQuickly()) << "add " << added + 1;

    // Z would pair with A and with B, had the program stored Z.
    Type(L"Z", L"2001", L"Male", L"180");
    const std::vector<MessageBoxView> boxes = ClickAndAnswer("Command1");

    ASSERT_EQ(boxes.size(), 1u) << "an error box and nothing else";
    EXPECT_NE(boxes[0].text.find(L"9"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"Subscript out of range"), std::wstring::npos);
    EXPECT_EQ(boxes[0].title, L"Same Height");
    ASSERT_TRUE(program.IsRunning());
    EXPECT_TRUE(IsWindowVisible(program.Form()));
    EXPECT_EQ(Text("Text1"), L"Z");
    EXPECT_EQ(Text("Text2"), L"2001");
    EXPECT_EQ(Text("Combo1"), L"Male");
    EXPECT_EQ(Text("Text3"), L"180");
    EXPECT_EQ(Texts(ClickAndAnswer("Command2")),
              std::vector<std::wstring>{L"Найдена пара мужчин: A   B"});
}

// The program's open context menu: the menu window of its thread.
HWND OpenMenuOf(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM result) {
            wchar_t name[16]{};
            GetClassNameW(window, name, 16);
            if (std::wstring_view(name) != L"#32768" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The user-action table's row on the context menu's language: the edit
// control's menu is the system's own, and under Wine another process cannot
// read its items, as the table's probe would. Fails once it can.
TEST_F(Form2ProgramTest, AnotherProcessCannotReadTheItemsOfTheProgramsContextMenu) {
    HWND text1 = Control("Text1");
    PostMessageW(text1, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(text1), MAKELPARAM(-1, -1));
    HWND menu = nullptr;
    const auto until = std::chrono::steady_clock::now() + BoxTimeout;
    while ((menu = OpenMenuOf(program.ThreadId())) == nullptr &&
           std::chrono::steady_clock::now() < until)
        Sleep(10);
    ASSERT_NE(menu, nullptr) << "no context menu opened";
    auto* items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    EXPECT_EQ(GetMenuItemCount(items), -1) << "the menu's items can be read: the row can agree";
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

// Sets the screen's DPI that programs started afterwards see, and puts the
// old setting back at the end.
class ScreenDpiSetting {
public:
    explicit ScreenDpiSetting(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        hadOld_ = RegQueryValueExW(key_, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                                   &size) == ERROR_SUCCESS;
        RegSetValueExW(key_, Name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~ScreenDpiSetting() {
        if (hadOld_) {
            RegSetValueExW(key_, Name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                           sizeof old_);
        } else {
            RegDeleteValueW(key_, Name);
        }
        RegCloseKey(key_);
    }
    ScreenDpiSetting(const ScreenDpiSetting&) = delete;
    ScreenDpiSetting& operator=(const ScreenDpiSetting&) = delete;

private:
    static constexpr const wchar_t* Name = L"LogPixels";
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool hadOld_ = false;
};

TEST(Form2ProgramAtAHigherDpi, KeepsTheFormsSizeInInches) {
    ScreenDpiSetting dpi(144);
    ProgramUnderTest program;
    ASSERT_NE(program.Form(), nullptr);

    const SIZE client = ClientSize(program.Form());
    EXPECT_EQ(client.cx, MulDiv(4575, 144, 1440));
    EXPECT_EQ(client.cy, MulDiv(4155, 144, 1440));
    // Command2 sits at (2280, 240) in Frame1, which sits at (120, 3240).
    RECT button{};
    GetWindowRect(program.Control("Command2"), &button);
    MapWindowPoints(nullptr, program.Form(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, MulDiv(2400, 144, 1440));
    EXPECT_EQ(button.top, MulDiv(3480, 144, 1440));
    EXPECT_EQ(button.right, MulDiv(2400 + 1935, 144, 1440));
}

} // namespace

int main(int argc, char** argv) {
    // Sizes are read in the screen's real pixels, as the program lays itself out.
    SetProcessDPIAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
