#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_answerer.h"
#include "runtime/core/run_time_error.h"
#include "runtime/win32/win32_form_window.h"
#include "win32_probe.h"
#include "window/form2.h"
#include "window/form2_description.h"

// What happens to a handler that is showing its boxes when the form goes
// away, or when a button of the form is clicked behind a box.

namespace {

// Raised by the host below to stop a search that would otherwise show its
// next 500,000 reports.
struct RunawaySearch {};

// Form2's handlers on the real window, with the adds' confirmation boxes
// left out, so that the table can be filled quickly by the Add command. A
// search that asks for more boxes than the limit is stopped.
class HostWithoutConfirmations final : public FormHost {
public:
    explicit HostWithoutConfirmations(Win32FormWindow& window) : window_(window) {}
    std::u16string Text(std::string_view control) const override { return window_.Text(control); }
    void SetText(std::string_view control, std::u16string_view text) override {
        window_.SetText(control, text);
    }
    void ShowMessage(std::u16string_view prompt) override {
        if (prompt == u"Запись добавлена") return;
        if (++reports > ReportLimit) throw RunawaySearch();
        window_.ShowMessage(prompt);
    }

    static constexpr int ReportLimit = 10;
    int reports = 0;

private:
    Win32FormWindow& window_;
};

// Takes away a WM_QUIT left in the queue when it goes, so that it cannot
// end the next test's boxes. Made before the window, it goes after it, and
// the window posts one as it is destroyed.
class QuitDrain {
public:
    QuitDrain() = default;
    ~QuitDrain() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    QuitDrain(const QuitDrain&) = delete;
    QuitDrain& operator=(const QuitDrain&) = delete;
};

class RunningHandlerTest : public ::testing::Test {
protected:
    QuitDrain drain;
    Win32FormWindow window{Form2Description()};
    HostWithoutConfirmations quietHost{window};
    Form2 quietForm{quietHost};
    bool ranAway = false;

    void SetUp() override {
        window.QuitWhenClosed();
        window.Show(SW_SHOWNORMAL);
        window.OnClick("Command2", [this] {
            quietHost.reports = 0;
            try {
                quietForm.Command2_Click();
            } catch (const RunawaySearch&) {
                ranAway = true;
            }
        });
    }

    void Add(std::u16string_view name, std::u16string_view sex, std::u16string_view height) {
        window.SetText("Text1", name);
        window.SetText("Combo1", sex);
        window.SetText("Text3", height);
        quietForm.Command1_Click();
    }
    // Every one of the 1001 slots holds a man of height 180: 500,500 reports.
    void FillTheTableWithMenOfOneHeight() {
        for (int person = 0; person < 1001; ++person)
            Add(u"Man " + std::u16string(1, static_cast<char16_t>(u'A' + person % 26)), u"Male",
                u"180");
    }
    HWND Control(std::string_view name) const { return window.Control(name); }
};

// The ways a form goes while the second report box is open: closed by
// another program (taskkill without /F sends WM_CLOSE), the session ending,
// or the thread told to quit.
struct Going {
    const char* how;
    void (*make)(HWND form);
    bool destroysTheForm;
};

const Going Goings[] = {
    {"WM_CLOSE", [](HWND form) { PostMessageW(form, WM_CLOSE, 0, 0); }, true},
    {"WM_ENDSESSION",
     [](HWND form) {
         SendMessageW(form, WM_QUERYENDSESSION, 0, static_cast<LPARAM>(ENDSESSION_LOGOFF));
         SendMessageW(form, WM_ENDSESSION, TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF));
     },
     true},
    {"WM_QUIT", [](HWND) { PostQuitMessage(0); }, false},
};

class FormGoingTest : public RunningHandlerTest, public ::testing::WithParamInterface<Going> {};

TEST_P(FormGoingTest, AFullTablesSearchEndsAtTheNextBoxOnceTheFormGoes) {
    const Going& going = GetParam();
    FillTheTableWithMenOfOneHeight();
    ASSERT_EQ(quietForm.Table().PeopleCount(), 1001);
    // Boxes beyond the limit are not even made.
    DialogCounter dialogs(10);
    BoxAnswerer answerer(window.Handle(),
                         [&going, form = window.Handle()](HWND box, std::size_t index) {
                             if (index == 1) going.make(form);
                             PressOk(box);
                         });
    SendMessageW(Control("Command2"), BM_CLICK, 0, 0);

    EXPECT_EQ(dialogs.Created(), 2u) << "no box after the form went";
    EXPECT_EQ(dialogs.Refused(), 0u);
    EXPECT_FALSE(ranAway) << "the search went on to its next reports";
    EXPECT_EQ(window.Handle() == nullptr, going.destroysTheForm);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the program's loop must still see the quit and end";
}

std::string GoingName(const ::testing::TestParamInfo<Going>& going) {
    return std::string(going.param.how).substr(3); // without "WM_"
}

INSTANTIATE_TEST_SUITE_P(Goings, FormGoingTest, ::testing::ValuesIn(Goings), GoingName);

// The run-time error box is not shown over a form that has gone: the
// handler ends quietly.
TEST_F(RunningHandlerTest, NoErrorBoxOnceTheFormIsGone) {
    window.OnClick("Command1", [this] {
        DestroyWindow(window.Handle());
        RaiseRunTimeError(RunTimeErrorNumber::SubscriptOutOfRange);
    });
    DialogCounter dialogs(10);
    SendMessageW(Control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(dialogs.Created(), 0u);
    EXPECT_EQ(window.Handle(), nullptr);
}

TEST_F(RunningHandlerTest, AClickBehindAReportBoxIsIgnoredNotQueued) {
    Form2 form{window};
    window.OnClick("Command1", [&form] { form.Command1_Click(); });
    window.OnClick("Command2", [&form] { form.Command2_Click(); });
    const char16_t* people[][3] = {
        {u"A", u"Male", u"180"}, {u"B", u"Male", u"180"}, {u"C", u"Female", u"170"}};
    for (const auto& [name, sex, height] : people) {
        window.SetText("Text1", name);
        window.SetText("Combo1", sex);
        window.SetText("Text3", height);
        BoxAnswerer confirm(window.Handle());
        SendMessageW(Control("Command1"), BM_CLICK, 0, 0);
        ASSERT_EQ(confirm.boxes.size(), 1u);
    }
    // D would pair with C, had the click behind the box added her.
    window.SetText("Text1", u"D");
    window.SetText("Combo1", u"Female");
    window.SetText("Text3", u"170");

    BoxAnswerer answerer(window.Handle(), [this](HWND box, std::size_t index) {
        if (index == 0) {
            // As an automation tool or a screen reader presses a button.
            SendMessageW(Control("Command1"), BM_CLICK, 0, 0);
            SendMessageW(Control("Command2"), BM_CLICK, 0, 0);
            PostMessageW(Control("Command1"), BM_CLICK, 0, 0);
        }
        PressOk(box);
    });
    SendMessageW(Control("Command2"), BM_CLICK, 0, 0);
    // A click that was posted, not sent, is handled after the handler ended
    // only if it was queued: it must have been dropped inside the box.
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    std::vector<std::wstring> texts;
    for (const MessageBoxView& box : answerer.boxes)
        texts.push_back(box.text);
    EXPECT_EQ(texts, std::vector<std::wstring>{L"Найдена пара мужчин: A   B"});
    EXPECT_EQ(window.Text("Text1"), u"D");
    EXPECT_EQ(form.Table().PeopleCount(), 3);
}

} // namespace
