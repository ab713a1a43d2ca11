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
// How long to wait to be sure that no further box follows.
constexpr auto Quiet = std::chrono::milliseconds(500);

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
             box = WaitForMessageBox(program.Form(), Quiet)) {
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
