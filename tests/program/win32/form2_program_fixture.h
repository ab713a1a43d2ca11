#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "program_under_test.h"
#include "win32_probe.h"

// A fixture for the tests of the whole Windows program: the program started
// for each test, and the user's steps as an automation tool takes them.

// A box that a click opens comes at once; the wait only allows for a slow machine.
constexpr auto BoxTimeout = std::chrono::seconds(10);

// The dialog boxes that the program has made over the form, shown or not yet.
inline bool MakesABoxOver(HWND form) {
    for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box != nullptr;
         box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
        if (GetWindow(box, GW_OWNER) == form) return true;
    }
    return false;
}

// The next box over the form, or none once the program is idle. A message
// sent to the form returns only when the program's thread takes messages
// again: in a box's own loop (the box is then made) or in its main loop,
// with the handler done. Clicks posted earlier were taken before the last
// box's OK, which was posted after them.
inline HWND NextBoxOrNone(HWND form) {
    const auto deadline = std::chrono::steady_clock::now() + BoxTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (HWND box = FindMessageBox(form)) return box;
        DWORD_PTR result = 0;
        const UINT limit = static_cast<UINT>(
            std::chrono::duration_cast<std::chrono::milliseconds>(BoxTimeout).count());
        if (SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, limit, &result) == 0) break;
        if (HWND box = FindMessageBox(form)) return box;
        if (!MakesABoxOver(form)) return nullptr;
    }
    ADD_FAILURE() << "the program neither showed a box nor became idle";
    return nullptr;
}

inline int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

inline SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

class Form2ProgramTest : public ::testing::Test {
protected:
    ProgramUnderTest program;

    void SetUp() override { ASSERT_NE(program.Form(), nullptr) << "the program showed no Form2"; }

    HWND Control(std::string_view name) const { return program.Control(name); }
    std::wstring Text(std::string_view name) const { return WindowText(Control(name)); }

    void Type(std::wstring_view name, std::wstring_view year, std::wstring_view sex,
              std::wstring_view height) {
        SetWindowTextOf(Control("Text1"), name);
        SetWindowTextOf(Control("Text2"), year);
        SetWindowTextOf(Control("Combo1"), sex);
        SetWindowTextOf(Control("Text3"), height);
    }

    // Clicks the button and answers every message box that follows, in turn.
    std::vector<MessageBoxView> ClickAndAnswer(std::string_view button) {
        std::vector<MessageBoxView> boxes;
        Click(Control(button));
        for (HWND box = WaitForMessageBox(program.Form(), BoxTimeout); box != nullptr;
             box = NextBoxOrNone(program.Form())) {
            boxes.push_back(ReadMessageBox(box));
            PressOk(box);
            EXPECT_TRUE(WaitUntilClosed(box, BoxTimeout)) << "the box stayed open";
        }
        return boxes;
    }

    // Adds the person typed in, expecting the one confirmation box at once.
    void AddQuickly() {
        Click(Control("Command1"));
        HWND box = WaitForMessageBox(program.Form(), BoxTimeout);
        ASSERT_NE(box, nullptr) << "no confirmation";
        PressOk(box);
        ASSERT_TRUE(WaitUntilClosed(box, BoxTimeout));
    }

    static std::vector<std::wstring> Texts(const std::vector<MessageBoxView>& boxes) {
        std::vector<std::wstring> texts;
        for (const MessageBoxView& box : boxes)
            texts.push_back(box.text);
        return texts;
    }
};
