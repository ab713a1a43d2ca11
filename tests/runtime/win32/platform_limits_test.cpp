#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "box_answerer.h"
#include "runtime/win32/win32_box_clipboard.h"
#include "runtime/win32/win32_form_window.h"
#include "win32_probe.h"
#include "window/form2_description.h"

// What the system gives the Windows build, tried as the shared table of user
// actions (tests/program/user_actions.py) reads it. Each test here backs a
// row where the Windows build differs from the Qt build: it shows the
// platform's limit, and fails once the limit is gone, so that the row can
// be made to agree.

namespace {

struct AccessibleView {
    std::wstring name;
    long role = 0;
};

// What the system's accessibility proxy (oleacc) tells of a window.
AccessibleView Accessible(HWND window, LONG objectId) {
    AccessibleView view;
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr)
        return view;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr)
        view.name.assign(name, SysStringLen(name));
    SysFreeString(name);
    VARIANT role{};
    if (SUCCEEDED(accessible->get_accRole(self, &role)) && role.vt == VT_I4) view.role = role.lVal;
    accessible->Release();
    return view;
}

class PlatformLimitsTest : public ::testing::Test {
protected:
    Win32FormWindow window{Form2Description()};
    void SetUp() override { window.Show(SW_SHOWNORMAL); }
};

// The table's screen reader rows: the proxy names the combo box by nothing,
// although its label comes right before it, as for the text boxes.
TEST_F(PlatformLimitsTest, TheProxyNamesNoComboBox) {
    EXPECT_EQ(Accessible(window.Control("Combo1"), OBJID_CLIENT).name, L"");
    EXPECT_EQ(Accessible(window.Control("Text1"), OBJID_CLIENT).name, L"Фамилия,Имя")
        << "the proxy names no input at all: the check above proves nothing";
}

// The table's row on the window itself: the proxy gives the form's window
// neither its caption as a name nor the role of a frame or window.
TEST_F(PlatformLimitsTest, TheProxyGivesTheFormsWindowNeitherNameNorRole) {
    const AccessibleView form = Accessible(window.Handle(), OBJID_WINDOW);
    EXPECT_EQ(form.name, L"");
    EXPECT_NE(form.role, ROLE_SYSTEM_WINDOW);
    EXPECT_NE(form.role, ROLE_SYSTEM_DIALOG);
}

// The table's middle click row: Windows has no selection that a middle
// click pastes. Wine's edit control pastes the clipboard on a middle click,
// through its own paste, which the form's first-line rule takes.
TEST_F(PlatformLimitsTest, AMiddleClickInAnEditPastesTheClipboardUnderWine) {
    HWND text1 = window.Control("Text1");
    SetWindowTextW(text1, L"");
    ASSERT_TRUE(CopyToClipboard(nullptr, L"Petrov\nIvan"));
    SetFocus(text1);
    SendMessageW(text1, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
    SendMessageW(text1, WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(WindowText(text1), L"Petrov");
}

POINT CentreOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The table's row on where the confirmation lies: the system's own message
// box, owned by a form at the screen's top left corner, lies centred on the
// screen's work area, not on its owner (the program's boxes do the same).
TEST_F(PlatformLimitsTest, TheSystemsMessageBoxLiesCentredOnTheWorkAreaNotOnItsOwner) {
    SetWindowPos(window.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT boxRect{};
    {
        BoxAnswerer answerer(window.Handle(), [&boxRect](HWND box, std::size_t) {
            GetWindowRect(box, &boxRect);
            PressOk(box);
        });
        MessageBoxW(window.Handle(), L"Запись добавлена", L"Same Height", MB_OK);
    }
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT form{};
    GetWindowRect(window.Handle(), &form);
    const POINT box = CentreOf(boxRect);
    EXPECT_NEAR(box.x, CentreOf(workArea).x, 4);
    EXPECT_GT(std::abs(box.x - CentreOf(form).x), 20) << "the box lies centred on its owner";
}

} // namespace
