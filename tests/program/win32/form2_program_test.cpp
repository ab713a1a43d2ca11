#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "form2_program_fixture.h"

// The whole Windows program, started as its user starts it and driven from
// this separate process through its windows, as an automation tool drives it.

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

TEST_F(Form2ProgramTest, AddEmptiesTheThreeBoxesKeepsTheSexAndConfirmsOnce) {
    Type(L"Иванов Иван", L"1980", L"", L"180");
    SendMessageW(Control("Combo1"), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(L"Male"));

    const std::vector<MessageBoxView> boxes = ClickAndAnswer("Command1");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Запись добавлена");
    EXPECT_EQ(boxes[0].title, L"Same Height");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(boxes[0].hasIcon);
    EXPECT_EQ(Text("Text1"), L"");
    EXPECT_EQ(Text("Text2"), L"");
    EXPECT_EQ(Text("Text3"), L"");
    EXPECT_EQ(Text("Combo1"), L"Male");
}

TEST_F(Form2ProgramTest, FindShowsTheExactPairAndNeverPairsMaleInLowerCase) {
    const std::wstring_view people[][3] = {
        {L"A", L"Male", L"180"}, {L"c", L"male", L"180"}, {L"B", L"Male", L"180.0"}};
    for (const auto& [name, sex, height] : people) {
        Type(name, L"1990", sex, height);
        ASSERT_EQ(ClickAndAnswer("Command1").size(), 1u);
    }

    EXPECT_EQ(Texts(ClickAndAnswer("Command2")),
              std::vector<std::wstring>{L"Найдена пара мужчин: A   B"});
    // The search changes nothing: it reports the same pair again.
    EXPECT_EQ(Texts(ClickAndAnswer("Command2")),
              std::vector<std::wstring>{L"Найдена пара мужчин: A   B"});
}

// Runs the state probe beside this test program and returns what it printed.
// (Started without a console of its own, Wine gives it no standard output.)
std::string RunStateProbe() {
    const std::wstring output = ProgramUnderTest::BesideMe(L"form2_state_probe.out");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    std::wstring commandLine = L"\"" + ProgramUnderTest::BesideMe(L"form2_state_probe.exe") + L"\"";
    PROCESS_INFORMATION probe{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &probe)) {
        WaitForSingleObject(probe.hProcess, 10'000);
        CloseHandle(probe.hThread);
        CloseHandle(probe.hProcess);
    }
    CloseHandle(file);
    std::string printed;
    HANDLE read = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
        printed.append(buffer, got);
    CloseHandle(read);
    DeleteFileW(output.c_str());
    return printed;
}

TEST_F(Form2ProgramTest, TheStateProbeShowsTheInputsTheFocusAndTheOpenBox) {
    Type(L"Иванов\\Иван", L"1980", L"Male", L"180");
    SetFocus(Control("Text2")); // does not reach another process's focus
    PostMessageW(program.Form(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control("Combo1")), TRUE);
    ASSERT_EQ(WaitForMessageBox(program.Form(), Quiet), nullptr);
    EXPECT_EQ(RunStateProbe(), "Text1=Иванов\\\\Иван\nText2=1980\nCombo1=Male\nText3=180\n"
                               "focus=Combo1\n");

    Click(Control("Command1"));
    HWND box = WaitForMessageBox(program.Form(), BoxTimeout);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(RunStateProbe(),
              "Text1=\nText2=\nCombo1=Male\nText3=\nfocus=\n"
              "box.title=Same Height\nbox.text=Запись добавлена\nbox.buttons=OK\n");
    PressOk(box);
    ASSERT_TRUE(WaitUntilClosed(box, BoxTimeout));
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
