#include "window/form2.h"

#include <gtest/gtest.h>

#include "fake_form_host.h"
#include "tests/runtime/core/expect_run_time_error.h"

namespace {

class Form2Test : public ::testing::Test {
protected:
    FakeFormHost host;
    Form2 form{host};
};

TEST_F(Form2Test, AddStoresThePersonEmptiesThreeInputsAndConfirms) {
    host.Type(u"Иванов Иван", u"1980", u"Male", u" 180 ");
    form.Command1_Click();

    ASSERT_EQ(form.Table().PeopleCount(), 1);
    const Person& person = form.Table().People(0);
    EXPECT_EQ(person.FullName, u"Иванов Иван");
    EXPECT_EQ(person.BirthYear, u"1980");
    EXPECT_EQ(person.Sex, u"Male");
    EXPECT_EQ(person.Height, 180.0);
    EXPECT_EQ(host.Text("Text1"), u"");
    EXPECT_EQ(host.Text("Text2"), u"");
    EXPECT_EQ(host.Text("Text3"), u"");
    EXPECT_EQ(host.Text("Combo1"), u"Male");
    EXPECT_EQ(host.messages, std::vector<std::u16string>{u"Запись добавлена"});
}

TEST_F(Form2Test, AddWithEveryInputEmptyStoresAnEmptyPerson) {
    form.Command1_Click();
    ASSERT_EQ(form.Table().PeopleCount(), 1);
    EXPECT_EQ(form.Table().People(0).FullName, u"");
    EXPECT_EQ(form.Table().People(0).Sex, u"");
    EXPECT_EQ(form.Table().People(0).Height, 0.0);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(Form2Test, AddConvertsTheHeightWithVal) {
    const std::pair<std::u16string, double> heights[] = {{u"175", 175},     {u"  175  ", 175},
                                                         {u"175.5", 175.5}, {u"175,5", 175},
                                                         {u"abc", 0},       {u"", 0}};
    for (const auto& [text, expected] : heights) {
        host.Type(u"x", u"", u"Male", text);
        form.Command1_Click();
        const auto last = static_cast<std::int16_t>(form.Table().PeopleCount() - 1);
        EXPECT_EQ(form.Table().People(last).Height, expected);
    }
}

TEST_F(Form2Test, AFailedAddKeepsTheInputsAndShowsNoConfirmation) {
    struct Failure {
        const char* what;
        int prefill;
        std::u16string height;
        RunTimeErrorNumber error;
    };
    const Failure failures[] = {
        {"full table", 1001, u"170", RunTimeErrorNumber::SubscriptOutOfRange},
        {"height beyond the double range", 0, u"1e999", RunTimeErrorNumber::Overflow},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        FakeFormHost freshHost;
        Form2 freshForm{freshHost};
        for (int i = 0; i < failure.prefill; ++i)
            freshForm.Command1_Click();
        freshHost.messages.clear();

        freshHost.Type(u"Last", u"2001", u"Female", failure.height);
        ExpectRunTimeError(failure.error, [&] { freshForm.Command1_Click(); });
        EXPECT_EQ(freshForm.Table().PeopleCount(), failure.prefill);
        EXPECT_EQ(freshHost.Text("Text1"), u"Last");
        EXPECT_EQ(freshHost.Text("Text3"), failure.height);
        EXPECT_TRUE(freshHost.messages.empty());
    }
}

TEST_F(Form2Test, FindShowsOneMessagePerPairAndChangesNothing) {
    const std::u16string people[][3] = {{u"M1", u"Male", u"180"},
                                        {u"W1", u"Female", u"165"},
                                        {u"M2", u"Male", u"180"},
                                        {u"W2", u"Female", u"165"},
                                        {u"m3", u"male", u"180"}};
    for (const auto& [name, sex, height] : people) {
        host.Type(name, u"1990", sex, height);
        form.Command1_Click();
    }
    host.messages.clear();
    host.Type(u"typed", u"", u"Female", u"1");

    form.Command2_Click();

    EXPECT_EQ(host.messages, (std::vector<std::u16string>{u"Найдена пара мужчин: M1   M2",
                                                          u"Найдена пара женщин: W1   W2"}));
    EXPECT_EQ(form.Table().PeopleCount(), 5);
    EXPECT_EQ(host.Text("Text1"), u"typed");
}

TEST_F(Form2Test, FindOnAnEmptyTableShowsNothing) {
    form.Command2_Click();
    EXPECT_TRUE(host.messages.empty());
}

} // namespace
